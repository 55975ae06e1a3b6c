#pragma once

#include <windows.h>

#include <array>
#include <vector>

#include "platform/win32/scoped_win.h"
#include "ui/form_layout.h"
#include "ui/win32/child_window.h"

// Where a form's windows are and how they look at its DPI: places and sizes from the layout's
// twips, fonts, icons, colours and painting.
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

// A form's colours in the system's colour scheme, its brushes and what it paints with them.
// Where the layout's fixed colours do not hold in the scheme (ui/contrast.h), fixed text takes
// the scheme's text colour and lines their scheme colour.
class Palette {
 public:
  explicit Palette(const FormLayout& layout) : layout_(layout) { followScheme(); }
  // Reads the scheme again (the system's colours, high contrast); true when the fixed colours
  // hold where they did not, or the other way round.
  bool followScheme();
  HBRUSH brush(Colour colour);
  // For WM_CTLCOLOR*: sets the DC's colours and gives the background brush; null for a
  // control in the system's own colours.
  HBRUSH controlColours(HDC dc, const ChildWindow& child);
  void paintLines(HDC dc, const std::vector<LineLayout>& lines, unsigned dpi);
  // A panel in its layout's colour (child null: the face colour), and its icon centred.
  void paintPanel(HWND panel, const ChildWindow* child, unsigned dpi);

 private:
  COLORREF textColour(const ControlLayout& control) const;

  const FormLayout& layout_;
  bool designHolds_ = true;
  std::array<platform::win32::UniqueBrush, static_cast<std::size_t>(Colour::Grey) + 1> brushes_;
};

}  // namespace vcit::ui::win32
