#ifdef _WIN32

#include "support/e2e_screen.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "support/e2e_files.h"
#include "support/e2e_windows.h"
#include "support/png_encoder.h"

namespace vcit::e2e {

namespace {

// The screen's pixels in the rectangle, 0x00RRGGBB, row by row from the top.
std::vector<std::uint32_t> capture(const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  std::vector<std::uint32_t> out;
  if (width <= 0 || height <= 0) return out;

  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  out.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return out;
}

}  // namespace

COLORREF pixelAt(HWND window, int x, int y) {
  makeDpiAware();
  POINT p{x, y};
  ClientToScreen(window, &p);
  const std::vector<std::uint32_t> pixels = capture(RECT{p.x, p.y, p.x + 1, p.y + 1});
  if (pixels.empty()) return CLR_INVALID;
  const std::uint32_t rgb = pixels[0];
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

int inkRows(HWND control, int inset) {
  makeDpiAware();
  RECT r;
  GetWindowRect(control, &r);
  InflateRect(&r, -inset, -inset);
  const std::vector<std::uint32_t> pixels = capture(r);
  const int width = r.right - r.left;
  int rows = 0;
  for (int y = 0; width > 0 && y < r.bottom - r.top; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
      if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 96) {
        ++rows;
        break;
      }
    }
  }
  return rows;
}

int inkPixels(HWND control, COLORREF background) {
  makeDpiAware();
  RECT r;
  GetWindowRect(control, &r);
  auto unlike = [background](std::uint32_t p) {  // by a quarter of the range: not a fringe
    return std::abs(static_cast<int>((p >> 16) & 0xFF) - GetRValue(background)) >= 64 ||
           std::abs(static_cast<int>((p >> 8) & 0xFF) - GetGValue(background)) >= 64 ||
           std::abs(static_cast<int>(p & 0xFF) - GetBValue(background)) >= 64;
  };
  const std::vector<std::uint32_t> pixels = capture(r);
  return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), unlike));
}

bool saveScreenshot(HWND window, const std::string& pngPath) {
  makeDpiAware();
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (window) GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const std::vector<std::uint32_t> pixels = capture(r);
  if (pixels.empty()) return false;

  std::string rows;
  rows.reserve(static_cast<std::size_t>(height) * (static_cast<std::size_t>(width) * 3 + 1));
  for (int y = 0; y < height; ++y) {
    rows += '\0';  // no filter
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
      rows += static_cast<char>((p >> 16) & 0xFF);
      rows += static_cast<char>((p >> 8) & 0xFF);
      rows += static_cast<char>(p & 0xFF);
    }
  }

  writeFile(pngPath, encodePng(width, height, rows));
  return true;
}

}  // namespace vcit::e2e

#endif  // _WIN32
