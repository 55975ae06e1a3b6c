#pragma once

// Windows of another process, as an end-to-end test sees them: found by caption, their text,
// class, placement, DPI and focus, and waits for them to catch up. Windows only.

#ifdef _WIN32

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vcit::e2e {

// The process is DPI aware, so that window coordinates of other processes are real pixels.
void makeDpiAware();
std::string windowText(HWND hwnd);
std::string className(HWND hwnd);
// The visible top-level windows of a process.
std::vector<HWND> topLevelWindows(DWORD processId);
// A message box or another dialog of the standard dialog class (#32770).
bool isMessageBox(HWND hwnd);
// The first visible top-level window of the process that is no message box, or null.
HWND mainWindowOf(DWORD processId);
// A visible top-level window of the process with this caption (and class, when given).
HWND findWindow(DWORD processId, const std::string& caption, const char* windowClass = nullptr);
// Polls until the condition holds; false after the timeout. Where the wait is what is timed,
// a short poll interval keeps the figure close to the moment the condition came true.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000, int pollMs = 20);
// Lets the window's thread process what is queued for it.
void settle(HWND hwnd);

// A rectangle in pixels: a child window relative to its parent's client area, or a window's
// client area on the screen.
RECT rectInParent(HWND child);
RECT clientOnScreen(HWND window);
// Pixels to twips at a DPI (rounded).
int pixelsToTwips(int pixels, unsigned dpi);
// The DPI the window is laid out for.
unsigned windowDpi(HWND hwnd);
// The window with the keyboard focus in the thread that owns this window.
HWND focusOf(HWND anyWindowOfThread);

// A child of the window at any depth (the rows lie in a panel), by its identifier.
HWND childById(HWND window, int id);

}  // namespace vcit::e2e

#endif  // _WIN32
