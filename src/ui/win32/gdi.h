#pragma once

// Owners of the GDI objects the window toolkit makes: fonts, brushes, pens and icons, each
// deleted when its owner goes away. They sit in the platform's namespace, beside its other
// handle owners.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace vcit::platform::win32 {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const noexcept {
    if (object) DeleteObject(object);
  }
};
struct IconDeleter {
  void operator()(HICON icon) const noexcept {
    if (icon) DestroyIcon(icon);
  }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using UniquePen = std::unique_ptr<std::remove_pointer_t<HPEN>, GdiObjectDeleter>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

}  // namespace vcit::platform::win32
