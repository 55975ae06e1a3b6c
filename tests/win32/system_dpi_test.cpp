// The DPI the toolkit lays out at, with the newer functions reported missing as Windows 8.1,
// 8 and 7 lack them: each fallback gives what Windows 10's own functions give. The suite runs
// in a prefix at 144 DPI, where a fallback to 96 shows.

#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>

#include "platform/win32/newer_functions.h"
#include "platform/win32/system_dpi.h"

namespace vcit::platform::win32 {
namespace {

struct System {
  const char* name;
  bool perWindow;   // GetDpiForWindow and its kin, Windows 10 1607
  bool perMonitor;  // GetDpiForMonitor, Windows 8.1
};

void PrintTo(const System& system, std::ostream* out) {
  *out << system.name;
}

NewerFunctions functionsOf(const System& system) {
  NewerFunctions f = NewerFunctions::system();
  if (!system.perWindow) {
    f.getDpiForSystem = nullptr;
    f.getDpiForWindow = nullptr;
    f.adjustWindowRectExForDpi = nullptr;
    f.getSystemMetricsForDpi = nullptr;
  }
  if (!system.perMonitor) {
    f.getDpiForMonitor = nullptr;
    f.getProcessDpiAwareness = nullptr;
  }
  return f;
}

class SystemDpiAt144Dpi : public ::testing::TestWithParam<System> {};

TEST_P(SystemDpiAt144Dpi, FallbacksGiveTheDpiFrameAndIconSizesOfWindows10sFunctions) {
  SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  const NewerFunctions& all = NewerFunctions::system();
  ASSERT_TRUE(all.setDefaultDllDirectories && all.getDpiForSystem && all.getDpiForWindow &&
              all.adjustWindowRectExForDpi && all.getSystemMetricsForDpi && all.getDpiForMonitor &&
              all.getProcessDpiAwareness)
      << "Wine has every one";
  const NewerFunctions f = functionsOf(GetParam());
  const UINT dpi = GetDpiForSystem();
  ASSERT_EQ(dpi, 144u) << "the prefix's DPI";
  EXPECT_EQ(systemDpi(f), dpi);

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_DLGMODALFRAME;
  const HWND window = CreateWindowExW(exStyle, L"STATIC", L"dpi", style, 0, 0, 200, 100, nullptr,
                                      nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(windowDpi(window, f), GetDpiForWindow(window));
  DestroyWindow(window);

  RECT frame{0, 0, 300, 201};
  adjustWindowRectForDpi(frame, style, exStyle, dpi, f);
  RECT expected{0, 0, 300, 201};
  AdjustWindowRectExForDpi(&expected, style, FALSE, exStyle, dpi);
  EXPECT_TRUE(EqualRect(&frame, &expected))
      << frame.left << "," << frame.top << " " << frame.right << "," << frame.bottom;
  for (const int metric : {SM_CXICON, SM_CXSMICON})
    for (const unsigned at : {96u, 144u, 192u})
      EXPECT_EQ(systemMetricForDpi(metric, at, f), GetSystemMetricsForDpi(metric, at))
          << metric << " at " << at;
}

INSTANTIATE_TEST_SUITE_P(Systems, SystemDpiAt144Dpi,
                         ::testing::Values(System{"Windows10", true, true},
                                           System{"Windows81", false, true},
                                           System{"Windows7and8", false, false}),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace vcit::platform::win32
