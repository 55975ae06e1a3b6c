#pragma once

#include <windows.h>

#include "platform/win32/scoped_win.h"
#include "ui/form_layout.h"
#include "ui/win32/child_window.h"

namespace vcit::ui::win32 {

// Twips to pixels at a DPI (15 twips are one pixel at 96 DPI).
inline int twipsToPixels(int twips, unsigned dpi) {
  return MulDiv(twips, static_cast<int>(dpi), 1440);
}
inline unsigned validDpi(unsigned dpi) {
  return dpi == 0 ? 96 : dpi;
}
inline int panelIconSize(unsigned dpi) {
  return MulDiv(32, static_cast<int>(dpi), 96);
}

// A control's place in its parent's client area, in pixels of the DPI.
RECT childRect(const ControlLayout& control, unsigned dpi);

SIZE frameSize(const FormLayout& layout, DWORD style, DWORD exStyle, unsigned dpi);

// Sizes the window for the layout's client area; atDesignedPosition, moves it to its place.
void placeWindow(HWND window, const FormLayout& layout, unsigned dpi, bool atDesignedPosition);

void layoutChildren(const ChildWindows& children, unsigned dpi);

// The fonts and icons of a form at its DPI, made again when the DPI changes.
class DpiResources {
 public:
  // Hands the window and its children their fonts and icons, without repainting them.
  void update(HWND window, const FormLayout& layout, const ChildWindows& children, unsigned dpi);

 private:
  platform::win32::UniqueFont font_;
  platform::win32::UniqueIcon bigIcon_;
  platform::win32::UniqueIcon smallIcon_;
};

}  // namespace vcit::ui::win32
