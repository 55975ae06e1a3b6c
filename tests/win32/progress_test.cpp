// Apply's progress on the real desktop under Wine: the taskbar calls, the handlers held for the
// action's length, and a window kept painted while its other messages wait in the queue.

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/win32_progress.h"

namespace vcit::platform {
namespace {

// A plain top-level window that counts what it is given.
class CountingWindow {
 public:
  CountingWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &CountingWindow::proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VcitProgressTestWindow";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"progress", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                           200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    settle();
  }
  ~CountingWindow() { DestroyWindow(hwnd); }
  CountingWindow(const CountingWindow&) = delete;
  CountingWindow& operator=(const CountingWindow&) = delete;

  void settle() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    paints = 0;
    userMessages = 0;
  }

  HWND hwnd = nullptr;
  int paints = 0;
  int userMessages = 0;

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CountingWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message == WM_PAINT) ++self->paints;
    if (self && message == WM_USER) ++self->userMessages;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
};

TEST(Win32ProgressTest, PaintsTheWindowsAndLeavesTheirOtherMessagesQueued) {
  CountingWindow window;
  Win32Progress progress;
  progress.window = window.hwnd;
  progress.paintIntervalMs = 0;
  std::vector<bool> held;
  progress.holdHandlers = [&](bool h) { held.push_back(h); };

  progress.begin(1000);
  EXPECT_EQ(held, std::vector<bool>{true});
  PostMessageW(window.hwnd, WM_USER, 0, 0);
  InvalidateRect(window.hwnd, nullptr, TRUE);
  progress.advance(500);
  EXPECT_GE(window.paints, 1) << "the window was not repainted";
  EXPECT_EQ(window.userMessages, 0) << "a queued message ran during the action";
  RECT update;
  EXPECT_FALSE(GetUpdateRect(window.hwnd, &update, FALSE));
  progress.advance(1000);
  progress.end();
  EXPECT_EQ(held, (std::vector<bool>{true, false}));

  // After the action the queued message is still there for the message loop.
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, window.hwnd, WM_USER, WM_USER, PM_REMOVE));
  DispatchMessageW(&m);
  EXPECT_EQ(window.userMessages, 1);
}

TEST(Win32ProgressTest, WorksWithoutAWindowAndCanRunAgain) {
  CountingWindow window;
  Win32Progress progress;  // first without a taskbar button, then with one
  progress.paintIntervalMs = 0;
  std::vector<bool> held;
  progress.holdHandlers = [&](bool h) { held.push_back(h); };
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  SetCursor(arrow);
  for (int run = 1; run <= 2; ++run) {
    progress.begin(std::uint64_t{1} << 40);  // amounts beyond 32 bits
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT)) << run;
    InvalidateRect(window.hwnd, nullptr, TRUE);
    progress.advance(std::uint64_t{1} << 39);
    EXPECT_EQ(window.paints, run);
    progress.end();
    EXPECT_EQ(GetCursor(), arrow) << run;
    progress.window = window.hwnd;
  }
  EXPECT_EQ(held, (std::vector<bool>{true, false, true, false}));
}

}  // namespace
}  // namespace vcit::platform
