#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/win32/scoped_win.h"
#include "ui/control.h"
#include "ui/form_layout.h"
#include "ui/win32/accessible_window.h"
#include "ui/win32/window_subclass.h"

namespace vcit::ui::win32 {

struct ControlAdapter;

// One child window of a form: the control of the layout it shows, the adapter of its kind, its
// own GDI objects and, once bound, the model control behind it.
struct ChildWindow {
  const ControlLayout* layout = nullptr;
  const ControlAdapter* adapter = nullptr;
  HWND hwnd = nullptr;
  platform::win32::UniqueFont font;  // its own, when the layout gives one
  platform::win32::UniqueIcon icon;
  wchar_t accessKey = 0;
  Control* model = nullptr;
  std::unique_ptr<AccessibleWindow> accessible;  // what screen readers read of it
  std::unique_ptr<WindowSubclass> subclass;      // the form's procedure in front of its own
};

// A form's child windows, found by window or by identifier.
struct ChildWindows : std::vector<std::unique_ptr<ChildWindow>> {
  ChildWindow* find(HWND hwnd) const {
    for (const auto& child : *this)
      if (hwnd && child->hwnd == hwnd) return child.get();
    return nullptr;
  }
  ChildWindow* findById(int id) const {
    for (const auto& child : *this)
      if (child->layout->id == id) return child.get();
    return nullptr;
  }
};

}  // namespace vcit::ui::win32
