#pragma once

#include <windows.h>

#include <functional>

namespace vcit::ui::win32 {

// A window procedure put in front of a window's own, until the window is gone or this object
// is. The window finds it in a table of its thread (a window gets its messages on the thread
// that made it), where comctl32's SetWindowSubclass looks its chain up in a window property on
// every message: under Wine each such lookup is a round trip to the server, and a control with
// two of those subclasses took a tenth of a millisecond a message, at start-up several times
// the launcher's own work. One subclass to a window.
class WindowSubclass {
 public:
  // Gets every message first; callOwn passes a message on to the window's own procedure.
  using Procedure = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

  WindowSubclass(HWND hwnd, Procedure procedure);
  // Gives the window its own procedure back when the window is still there.
  ~WindowSubclass();
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;

  LRESULT callOwn(UINT message, WPARAM wParam, LPARAM lParam) const;
  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void remove();

  HWND hwnd_;
  WNDPROC own_;
  Procedure procedure_;
};

}  // namespace vcit::ui::win32
