#ifdef _WIN32

#include "support/e2e_message_boxes.h"

#include "support/e2e_windows.h"

namespace vcit::e2e {

std::string messageBoxText(HWND box) {
  const HWND text = GetDlgItem(box, 0xFFFF);
  return text ? windowText(text) : std::string();
}

std::optional<MessageBoxSeen> waitForMessageBox(DWORD processId, int timeoutMs) {
  MessageBoxSeen seen;
  const bool found = waitUntil(
      [&] {
        for (HWND hwnd : topLevelWindows(processId)) {
          if (!isMessageBox(hwnd)) continue;
          seen = {hwnd, windowText(hwnd), messageBoxText(hwnd)};
          return true;
        }
        return false;
      },
      timeoutMs);
  if (!found) return std::nullopt;
  return seen;
}

void answer(const MessageBoxSeen& box, int buttonId) {
  if (HWND button = GetDlgItem(box.hwnd, buttonId)) {
    SendMessageW(button, BM_CLICK, 0, 0);
  } else {
    PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
  }
  waitUntil([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); }, 5000);
}

}  // namespace vcit::e2e

#endif  // _WIN32
