#include "ui/win32/window_subclass.h"

#include <unordered_map>
#include <utility>

namespace vcit::ui::win32 {
namespace {

std::unordered_map<HWND, WindowSubclass*>& subclasses() {
  thread_local std::unordered_map<HWND, WindowSubclass*> table;
  return table;
}

}  // namespace

WindowSubclass::WindowSubclass(HWND hwnd, Procedure procedure)
    : hwnd_(hwnd), own_(nullptr), procedure_(std::move(procedure)) {
  subclasses()[hwnd_] = this;
  own_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowSubclass::proc)));
}

WindowSubclass::~WindowSubclass() {
  remove();
}

LRESULT WindowSubclass::callOwn(UINT message, WPARAM wParam, LPARAM lParam) const {
  return CallWindowProcW(own_, hwnd_, message, wParam, lParam);
}

void WindowSubclass::remove() {
  if (!hwnd_) return;
  subclasses().erase(hwnd_);
  if (GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowSubclass::proc))
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own_));
  hwnd_ = nullptr;
}

LRESULT CALLBACK WindowSubclass::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto found = subclasses().find(hwnd);
  if (found == subclasses().end()) return DefWindowProcW(hwnd, message, wParam, lParam);
  WindowSubclass& self = *found->second;
  // Nothing of this object is used once the procedure has run (a click it passes on may end
  // the window and its owner), but after the window's last message, which ends nothing else.
  const LRESULT result = self.procedure_(message, wParam, lParam);
  if (message == WM_NCDESTROY) self.remove();
  return result;
}

}  // namespace vcit::ui::win32
