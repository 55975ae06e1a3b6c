#include "platform/win32/system_dpi.h"

namespace vcit::platform::win32 {

unsigned systemDpi(const NewerFunctions& f) {
  if (f.getDpiForSystem) return f.getDpiForSystem();
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<unsigned>(dpi) : 96;
}

unsigned windowDpi(HWND window, const NewerFunctions& f) {
  if (f.getDpiForWindow) return f.getDpiForWindow(window);
  // A monitor's own DPI applies only to a program aware of it; Windows scales any other.
  PROCESS_DPI_AWARENESS awareness = PROCESS_DPI_UNAWARE;
  UINT x = 0;
  UINT y = 0;
  if (f.getDpiForMonitor && f.getProcessDpiAwareness &&
      SUCCEEDED(f.getProcessDpiAwareness(nullptr, &awareness)) &&
      awareness == PROCESS_PER_MONITOR_DPI_AWARE &&
      SUCCEEDED(f.getDpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                   MDT_EFFECTIVE_DPI, &x, &y)) &&
      x > 0)
    return x;
  return systemDpi(f);
}

void adjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, unsigned dpi,
                            const NewerFunctions& f) {
  if (f.adjustWindowRectExForDpi)
    f.adjustWindowRectExForDpi(&rect, style, FALSE, exStyle, dpi);
  else
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

int systemMetricForDpi(int index, unsigned dpi, const NewerFunctions& f) {
  if (f.getSystemMetricsForDpi) return f.getSystemMetricsForDpi(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(systemDpi(f)));
}

}  // namespace vcit::platform::win32
