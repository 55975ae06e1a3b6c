#include "ui/win32/geometry.h"

#include <vector>

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

}  // namespace

SIZE frameSize(const FormLayout& layout, DWORD style, DWORD exStyle, unsigned dpi) {
  RECT frame{0, 0, twipsToPixels(layout.clientWidth, dpi), twipsToPixels(layout.clientHeight, dpi)};
  AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi);
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
    bigIcon_ = loadIcon(layout.iconResource, GetSystemMetricsForDpi(SM_CXICON, dpi));
    smallIcon_ = loadIcon(layout.iconResource, GetSystemMetricsForDpi(SM_CXSMICON, dpi));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  }
  for (const auto& child : children)
    if (child->layout->iconResource != 0)
      child->icon = loadIcon(child->layout->iconResource, panelIconSize(dpi));
}

}  // namespace vcit::ui::win32
