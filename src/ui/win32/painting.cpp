#include "ui/win32/painting.h"

#include <algorithm>
#include <iterator>

#include "ui/win32/child_window.h"
#include "ui/win32/geometry.h"

namespace vcit::ui::win32 {

namespace {

// In the order of Colour: a system colour's index, or -1 and a fixed colour.
struct Shade {
  int system;
  COLORREF fixed;
};
constexpr Shade kShades[] = {{COLOR_BTNFACE, 0},      {COLOR_BTNFACE, 0}, {COLOR_WINDOW, 0},
                             {COLOR_WINDOWTEXT, 0},   {-1, RGB(0, 0, 0)}, {-1, RGB(255, 255, 255)},
                             {-1, RGB(128, 128, 128)}};
static_assert(std::size(kShades) == static_cast<std::size_t>(Colour::Grey) + 1);

}  // namespace

COLORREF colourRef(Colour colour) {
  const Shade& shade = kShades[static_cast<std::size_t>(colour)];
  return shade.system < 0 ? shade.fixed : GetSysColor(shade.system);
}

HBRUSH Palette::brush(Colour colour) {
  const Shade& shade = kShades[static_cast<std::size_t>(colour)];
  if (shade.system >= 0) return GetSysColorBrush(shade.system);
  auto& made = brushes_[static_cast<std::size_t>(colour)];
  if (!made) made.reset(CreateSolidBrush(shade.fixed));
  return made.get();
}

HBRUSH Palette::controlColours(HDC dc, const ChildWindow& child) {
  const ControlLayout& c = *child.layout;
  if (c.background == Colour::Default && c.foreground == Colour::Default &&
      !child.adapter->alwaysColoured)
    return nullptr;
  SetTextColor(
      dc, c.foreground == Colour::Default ? GetSysColor(COLOR_BTNTEXT) : colourRef(c.foreground));
  SetBkColor(dc, colourRef(c.background));
  return brush(c.background);
}

void Palette::paintLines(HDC dc, const std::vector<LineLayout>& lines, unsigned dpi) {
  for (const auto& line : lines) {
    const int width = std::max(1, MulDiv(line.widthPixels, static_cast<int>(dpi), 96));
    const int x1 = twipsToPixels(line.x1, dpi), y1 = twipsToPixels(line.y1, dpi);
    const int x2 = twipsToPixels(line.x2, dpi), y2 = twipsToPixels(line.y2, dpi);
    if (x1 != x2 && y1 != y2) {
      platform::win32::UniquePen pen(CreatePen(PS_SOLID, width, colourRef(line.colour)));
      const platform::win32::SelectedObject selected(dc, pen.get());
      MoveToEx(dc, x1, y1, nullptr);
      LineTo(dc, x2, y2);
      continue;
    }
    const RECT r = y1 == y2 ? RECT{std::min(x1, x2), y1, std::max(x1, x2) + 1, y1 + width}
                            : RECT{x1, std::min(y1, y2), x1 + width, std::max(y1, y2) + 1};
    FillRect(dc, &r, brush(line.colour));
  }
}

void Palette::erasePanel(HWND panel, HDC dc, const ChildWindow* child) {
  RECT client;
  GetClientRect(panel, &client);
  FillRect(dc, &client, brush(child ? child->layout->background : Colour::ButtonFace));
}

void Palette::paintPanel(HWND panel, const ChildWindow* child, unsigned dpi) {
  const platform::win32::PaintDC dc(panel);
  if (child && child->icon) {
    RECT client;
    GetClientRect(panel, &client);
    const int size = panelIconSize(dpi);
    DrawIconEx(dc.get(), (client.right - size) / 2, (client.bottom - size) / 2, child->icon.get(),
               size, size, 0, nullptr, DI_NORMAL);
  }
}

}  // namespace vcit::ui::win32
