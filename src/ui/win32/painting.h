#pragma once

#include <windows.h>

#include <array>
#include <vector>

#include "platform/win32/scoped_win.h"
#include "ui/form_layout.h"
#include "ui/win32/child_window.h"

namespace vcit::ui::win32 {

COLORREF colourRef(Colour colour);

// A form's brushes and what it paints with them.
class Palette {
 public:
  HBRUSH brush(Colour colour);
  // For WM_CTLCOLOR*: sets the DC's colours and gives the background brush; null for a
  // control in the system's own colours.
  HBRUSH controlColours(HDC dc, const ChildWindow& child);
  void paintLines(HDC dc, const std::vector<LineLayout>& lines, unsigned dpi);
  // A panel's background in its layout's colour (child null: the face colour).
  void erasePanel(HWND panel, HDC dc, const ChildWindow* child);
  // A panel's WM_PAINT: its icon, centred, when it has one.
  static void paintPanel(HWND panel, const ChildWindow* child, unsigned dpi);

 private:
  std::array<platform::win32::UniqueBrush, 7> brushes_;
};

}  // namespace vcit::ui::win32
