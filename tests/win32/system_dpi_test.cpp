// The DPI the toolkit lays out at, with the newer functions reported missing as Windows 8.1
// (per window), 8 and 7 (per monitor too) lack them: each fallback gives what Windows 10's own
// functions give. In a prefix at 144 DPI, where a fallback to 96 shows.

#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/newer_functions.h"
#include "platform/win32/system_dpi.h"

namespace vcit::platform::win32 {
namespace {

class SystemDpiAt144Dpi : public ::testing::TestWithParam<int> {};

TEST_P(SystemDpiAt144Dpi, FallbacksGiveTheDpiFrameAndIconSizesOfWindows10sFunctions) {
  // Aware of each monitor, as the manifest makes the program (the 8.1 row takes the monitor's).
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  NewerFunctions f = NewerFunctions::system();
  ASSERT_TRUE(f.getDpiForWindow && f.getDpiForMonitor) << "Wine has them all";
  const int windows = GetParam();  // 100 for Windows 10 1607, 81 for 8.1, 80, 70
  if (windows < 100) {
    f.getDpiForSystem = nullptr;
    f.getDpiForWindow = nullptr;
    f.adjustWindowRectExForDpi = nullptr;
    f.getSystemMetricsForDpi = nullptr;
  }
  if (windows < 81) f.getDpiForMonitor = nullptr;
  const UINT dpi = GetDpiForSystem();
  ASSERT_EQ(dpi, 144u) << "the prefix's DPI";
  EXPECT_EQ(systemDpi(f), dpi);

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  const HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME, L"STATIC", L"dpi", style, 0, 0, 200, 100,
                                      nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(windowDpi(window, f), GetDpiForWindow(window));
  DestroyWindow(window);
  RECT frame{0, 0, 300, 201};
  RECT expected = frame;
  adjustWindowRectForDpi(frame, style, WS_EX_DLGMODALFRAME, dpi, f);
  AdjustWindowRectExForDpi(&expected, style, FALSE, WS_EX_DLGMODALFRAME, dpi);
  EXPECT_TRUE(EqualRect(&frame, &expected)) << frame.left << "," << frame.top;
  for (const int metric : {SM_CXICON, SM_CXSMICON})
    for (const unsigned at : {96u, 144u, 192u})
      EXPECT_EQ(systemMetricForDpi(metric, at, f), GetSystemMetricsForDpi(metric, at)) << at;
}

INSTANTIATE_TEST_SUITE_P(Windows, SystemDpiAt144Dpi, ::testing::Values(100, 81, 80, 70));

}  // namespace
}  // namespace vcit::platform::win32
