#pragma once

#include <windows.h>

#include <functional>

namespace vcit::ui::win32 {

// A window procedure put in front of a window's own, until the window or this object is gone;
// found in a table of the window's thread. comctl32's SetWindowSubclass looks its chain up in a
// window property on every message, under Wine a round trip to the server each: a tenth of a
// millisecond a message, several times the launcher's own start-up work. One to a window.
class WindowSubclass {
 public:
  // Gets every message first; callOwn passes a message on to the window's own procedure.
  using Procedure = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

  WindowSubclass(HWND hwnd, Procedure procedure);
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
