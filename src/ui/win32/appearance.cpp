#include "ui/win32/appearance.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "ui/contrast.h"

#include "platform/win32/system_dpi.h"

namespace vcit::ui::win32 {

using platform::win32::UniqueFont;
using platform::win32::UniqueIcon;

namespace {

UniqueFont makeFont(const FontSpec& font, unsigned dpi) {
  return UniqueFont(CreateFontW(-MulDiv(font.points, static_cast<int>(dpi), 72), 0, 0, 0,
                                font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg 2"));
}

UniqueIcon loadIcon(int resource, int size) {
  return UniqueIcon(
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                    IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

// In the order of Colour: a system colour's index, or -1 and a fixed colour.
struct Shade {
  int system;
  COLORREF fixed;
};
constexpr Shade kShades[] = {
    {COLOR_BTNFACE, 0},    {COLOR_BTNFACE, 0},       {COLOR_WINDOW, 0},
    {COLOR_WINDOWTEXT, 0}, {COLOR_BTNSHADOW, 0},     {COLOR_BTNHIGHLIGHT, 0},
    {-1, RGB(0, 0, 0)},    {-1, RGB(255, 255, 255)}, {-1, RGB(128, 128, 128)}};
static_assert(std::size(kShades) == static_cast<std::size_t>(Colour::Grey) + 1);

bool isFixed(Colour colour) {
  return kShades[static_cast<std::size_t>(colour)].system < 0;
}

Rgb rgbOf(COLORREF colour) {
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

// Fixed text on a colour of the system's, whose scheme has a text colour to match.
bool fixedTextOnSystem(const ControlLayout& c) {
  return isFixed(c.foreground) && !isFixed(c.background);
}

bool highContrast() {
  HIGHCONTRASTW settings{};
  settings.cbSize = sizeof settings;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
         (settings.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

COLORREF colourRef(Colour colour) {
  const Shade& shade = kShades[static_cast<std::size_t>(colour)];
  return shade.system < 0 ? shade.fixed : GetSysColor(shade.system);
}

}  // namespace

SIZE frameSize(const FormLayout& layout, DWORD style, DWORD exStyle, unsigned dpi) {
  RECT frame{0, 0, twipsToPixels(layout.clientWidth, dpi), twipsToPixels(layout.clientHeight, dpi)};
  platform::win32::adjustWindowRectForDpi(frame, style, exStyle, dpi);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void placeWindow(HWND window, const FormLayout& layout, unsigned dpi, bool atDesignedPosition) {
  const SIZE frame = frameSize(layout, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                               static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
  SetWindowPos(window, nullptr, 0, 0, frame.cx, frame.cy,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  // The frame the window really has may differ from the computed one (its DPI not yet the
  // new one, a window manager's decoration): correct by what the client area lacks.
  RECT client;
  GetClientRect(window, &client);
  RECT placed;
  GetWindowRect(window, &placed);
  const int dw = twipsToPixels(layout.clientWidth, dpi) - client.right;
  const int dh = twipsToPixels(layout.clientHeight, dpi) - client.bottom;
  if (dw != 0 || dh != 0) {
    SetWindowPos(window, nullptr, 0, 0, placed.right - placed.left + dw,
                 placed.bottom - placed.top + dh, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    GetWindowRect(window, &placed);
  }
  if (atDesignedPosition && layout.screenPosition) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int x = twipsToPixels(layout.screenPosition->left, dpi);
    const int y = twipsToPixels(layout.screenPosition->top, dpi);
    SetWindowPos(window, nullptr, placed.left + x - origin.x, placed.top + y - origin.y, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  }
}

RECT childRect(const ControlLayout& control, unsigned dpi) {
  const TwipsRect& r = control.rect;
  const int left = twipsToPixels(r.left, dpi);
  const int top = twipsToPixels(r.top, dpi);
  return {left, top, left + twipsToPixels(r.width, dpi), top + twipsToPixels(r.height, dpi)};
}

void layoutChildren(const ChildWindows& children, unsigned dpi) {
  for (const auto& child : children) {
    const RECT r = childRect(*child->layout, dpi);
    SetWindowPos(child->hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void DpiResources::update(HWND window, const FormLayout& layout, const ChildWindows& children,
                          unsigned dpi) {
  // The new fonts are in use before the old ones go.
  UniqueFont font = makeFont(layout.font, dpi);
  std::vector<UniqueFont> old;
  for (const auto& child : children) {
    HFONT use = font.get();
    if (child->layout->font) {
      old.push_back(std::move(child->font));
      child->font = makeFont(*child->layout->font, dpi);
      use = child->font.get();
    }
    // Without a repaint of its own: the form repaints all of them at once.
    SendMessageW(child->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(use), FALSE);
  }
  font_ = std::move(font);

  if (layout.iconResource != 0) {
    bigIcon_ = loadIcon(layout.iconResource, platform::win32::systemMetricForDpi(SM_CXICON, dpi));
    smallIcon_ =
        loadIcon(layout.iconResource, platform::win32::systemMetricForDpi(SM_CXSMICON, dpi));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  }
  for (const auto& child : children)
    if (child->layout->iconResource != 0)
      child->icon = loadIcon(child->layout->iconResource, panelIconSize(dpi));
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
  SetTextColor(dc, textColour(c));
  SetBkColor(dc, colourRef(c.background));
  return brush(c.background);
}

void Palette::paintLines(HDC dc, const std::vector<LineLayout>& lines, unsigned dpi) {
  for (const auto& line : lines) {
    const Colour colour =
        designHolds_ || line.schemeColour == Colour::Default ? line.colour : line.schemeColour;
    const int width = std::max(1, MulDiv(line.widthPixels, static_cast<int>(dpi), 96));
    const int x1 = twipsToPixels(line.x1, dpi), y1 = twipsToPixels(line.y1, dpi);
    const int x2 = twipsToPixels(line.x2, dpi), y2 = twipsToPixels(line.y2, dpi);
    if (x1 != x2 && y1 != y2) {
      platform::win32::UniquePen pen(CreatePen(PS_SOLID, width, colourRef(colour)));
      const platform::win32::SelectedObject selected(dc, pen.get());
      MoveToEx(dc, x1, y1, nullptr);
      LineTo(dc, x2, y2);
      continue;
    }
    const RECT r = y1 == y2 ? RECT{std::min(x1, x2), y1, std::max(x1, x2) + 1, y1 + width}
                            : RECT{x1, std::min(y1, y2), x1 + width, std::max(y1, y2) + 1};
    FillRect(dc, &r, brush(colour));
  }
}

void Palette::paintPanel(HWND panel, const ChildWindow* child, unsigned dpi) {
  const platform::win32::PaintDC dc(panel);
  RECT client;
  GetClientRect(panel, &client);
  FillRect(dc.get(), &client, brush(child ? child->layout->background : Colour::ButtonFace));
  if (child && child->icon) {
    const int size = panelIconSize(dpi);
    DrawIconEx(dc.get(), (client.right - size) / 2, (client.bottom - size) / 2, child->icon.get(),
               size, size, 0, nullptr, DI_NORMAL);
  }
}

bool Palette::followScheme() {
  std::vector<FixedInk> text;
  for (const ControlLayout& c : layout_.controls)
    if (fixedTextOnSystem(c))
      text.push_back({rgbOf(colourRef(c.foreground)), rgbOf(colourRef(c.background))});
  const bool holds = designedColoursHold(highContrast(), text);
  return std::exchange(designHolds_, holds) != holds;
}

COLORREF Palette::textColour(const ControlLayout& c) const {
  if (c.foreground == Colour::Default) return GetSysColor(COLOR_BTNTEXT);
  if (designHolds_ || !fixedTextOnSystem(c)) return colourRef(c.foreground);
  return GetSysColor(c.background == Colour::WindowBackground ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
}

}  // namespace vcit::ui::win32
