#ifdef _WIN32

#include "support/e2e_message_boxes.h"

#include "support/e2e_windows.h"

namespace vcit::e2e {

std::optional<MessageBoxSeen> waitForMessageBox(DWORD processId, int timeoutMs) {
  MessageBoxSeen seen;
  const bool found = waitUntil(
      [&] {
        for (HWND hwnd : topLevelWindows(processId)) {
          if (className(hwnd) != "#32770") continue;
          seen.hwnd = hwnd;
          seen.title = windowText(hwnd);
          // The text of a message box is its static control 0xFFFF.
          if (HWND text = GetDlgItem(hwnd, 0xFFFF)) seen.text = windowText(text);
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
