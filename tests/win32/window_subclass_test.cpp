// The toolkit's window subclass on real windows under Wine: it sees messages first, passes the
// rest to the window's own procedure, and leaves the window as it was made.

#include <gtest/gtest.h>

#include <vector>

#include "support/e2e_windows.h"
#include "ui/win32/window_subclass.h"

namespace vcit::ui::win32 {
namespace {

constexpr UINT kAsk = WM_APP + 1;

HWND newEdit() {
  return CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr,
                         nullptr);
}

TEST(WindowSubclass, SeesMessagesFirstPassesTheRestOnAndGivesTheWindowItsOwnProcedureBack) {
  const HWND edit = newEdit();
  ASSERT_TRUE(edit);
  const LONG_PTR own = GetWindowLongPtrW(edit, GWLP_WNDPROC);
  {
    WindowSubclass* self = nullptr;
    WindowSubclass subclass(edit, [&](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message == kAsk) return 42;
      return self->callOwn(message, wParam, lParam);
    });
    self = &subclass;
    EXPECT_EQ(SendMessageW(edit, kAsk, 0, 0), 42);
    SetWindowTextW(edit, L"alpha.pk3");
    EXPECT_EQ(e2e::windowText(edit), "alpha.pk3") << "the edit control's own procedure ran";
  }
  EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), own);
  EXPECT_EQ(SendMessageW(edit, kAsk, 0, 0), 0);
  DestroyWindow(edit);
}

TEST(WindowSubclass, SeesTheWindowsLastMessageAndOutlivesItHarmlessly) {
  const HWND edit = newEdit();
  std::vector<UINT> seen;
  WindowSubclass* self = nullptr;
  WindowSubclass subclass(edit, [&](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    seen.push_back(message);
    return self->callOwn(message, wParam, lParam);
  });
  self = &subclass;
  DestroyWindow(edit);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), static_cast<UINT>(WM_NCDESTROY));
  EXPECT_EQ(subclass.hwnd(), nullptr);
}

}  // namespace
}  // namespace vcit::ui::win32
