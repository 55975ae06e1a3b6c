#include "platform/win32/win32_events.h"

namespace vcit::platform {

void dispatchMessage(MSG& message, const MessageFilter& filter) {
  if (filter && filter(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void Win32EventPump::doEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the program's message loop
      return;
    }
    dispatchMessage(message, filter);
  }
}

}  // namespace vcit::platform
