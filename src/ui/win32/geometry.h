#pragma once

#include <windows.h>

#include "platform/win32/scoped_win.h"
#include "ui/form_layout.h"
#include "ui/win32/child_window.h"

namespace vcit::ui::win32 {

// Twips to pixels at a DPI (15 twips are one pixel at 96 DPI).
int twipsToPixels(int twips, unsigned dpi);

// A DPI the system reports, or 96 when it reports none.
unsigned validDpi(unsigned dpi);

// A control's place in its parent's client area, in pixels of the DPI.
RECT childRect(const ControlLayout& control, unsigned dpi);

// The window's frame size for the layout's client area at a DPI.
SIZE frameSize(const FormLayout& layout, DWORD style, DWORD exStyle, unsigned dpi);

// Sizes the window for the layout's client area; moves it to the layout's position on the
// screen when it has one and atDesignedPosition.
void placeWindow(HWND window, const FormLayout& layout, unsigned dpi, bool atDesignedPosition);

// Puts every child window at its twips geometry in pixels of the DPI.
void layoutChildren(const ChildWindows& children, unsigned dpi);

// The fonts and icons of a form at its DPI, made again when the DPI changes.
class DpiResources {
 public:
  // Makes the window's and the children's fonts and icons for the DPI and hands them over;
  // the children are not repainted.
  void update(HWND window, const FormLayout& layout, const ChildWindows& children, unsigned dpi);

 private:
  platform::win32::UniqueFont font_;
  platform::win32::UniqueIcon bigIcon_;
  platform::win32::UniqueIcon smallIcon_;
};

// The side of a panel's icon at a DPI.
int panelIconSize(unsigned dpi);

}  // namespace vcit::ui::win32
