#pragma once

// Message boxes of another process: waited for, read and answered. Windows only.

#ifdef _WIN32

#include <windows.h>

#include <optional>
#include <string>

namespace vcit::e2e {

// A message box (#32770) of the process: its window, title and text.
struct MessageBoxSeen {
  HWND hwnd = nullptr;
  std::string title;
  std::string text;
};
// The text of a message box (its static control 0xFFFF).
std::string messageBoxText(HWND box);
std::optional<MessageBoxSeen> waitForMessageBox(DWORD processId, int timeoutMs = 5000);
// Presses the box's button with this identifier (IDOK, IDYES, IDNO) and waits until it is gone.
void answer(const MessageBoxSeen& box, int buttonId);

}  // namespace vcit::e2e

#endif  // _WIN32
