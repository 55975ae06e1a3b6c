#pragma once

// Waiting for windows of other threads (the Run dialog coming up, keystrokes being read)
// without stalling the threads that send messages to this one meanwhile.

#include <windows.h>

namespace vcit::platform::win32 {

// Runs the messages other threads send to this thread's windows (activation changes while a
// dialog of another thread comes up), leaving posted messages and input queued.
void processSentMessages();

// Sleeps for the time while running the sent messages as above.
void pause(DWORD milliseconds);

// Whether the window is the foreground window and a window of its thread has the focus.
bool hasKeyboardFocus(HWND window);

// The visible dialog window of a thread.
HWND dialogOfThread(DWORD thread);

// A dialog that came to the foreground after `before` and has a focused control.
HWND newFocusedDialog(HWND before);

}  // namespace vcit::platform::win32
