#pragma once

// The real mouse and keyboard, as a user drives another process's windows. Windows only.

#ifdef _WIN32

#include <windows.h>

#include <string>

namespace vcit::e2e {

// Activates the top-level window that holds the control.
void activate(HWND anyWindow);
// A left click with the real mouse at the middle of the control.
void click(HWND control);
// A click as the button's own window procedure sees one (BM_CLICK, posted): unlike click(),
// no real mouse, no activation and no wait, so it also works while the window is busy and
// costs nothing where the time after it is measured.
void clickButton(HWND button);
// A key press (down and up) with optional modifiers, through the real keyboard input.
void pressKey(WORD virtualKey, bool shift = false, bool control = false, bool alt = false);
// Types text (characters) into the focused window.
void typeText(const std::string& text);

}  // namespace vcit::e2e

#endif  // _WIN32
