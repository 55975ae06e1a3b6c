#include "platform/win32/win32_waiting.h"

#include <cwchar>

namespace vcit::platform::win32 {
namespace {

bool isDialogClass(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return std::wcscmp(name, L"#32770") == 0;
}

}  // namespace

void processSentMessages() {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

void pause(DWORD milliseconds) {
  MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_SENDMESSAGE, 0);
  processSentMessages();
}

bool hasKeyboardFocus(HWND window) {
  if (!window || GetForegroundWindow() != window) return false;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  return GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr;
}

HWND dialogOfThread(DWORD thread) {
  HWND found = nullptr;
  EnumThreadWindows(
      thread,
      [](HWND window, LPARAM result) -> BOOL {
        if (IsWindowVisible(window) && isDialogClass(window)) {
          *reinterpret_cast<HWND*>(result) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND newFocusedDialog(HWND before) {
  const HWND window = GetForegroundWindow();
  if (!window || window == before || !isDialogClass(window)) return nullptr;
  return hasKeyboardFocus(window) ? window : nullptr;
}

}  // namespace vcit::platform::win32
