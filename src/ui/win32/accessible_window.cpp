#include "ui/win32/accessible_window.h"

#include <commctrl.h>

#include "ui/win32/accessible_object.h"

namespace vcit::ui::win32 {

AccessibleWindow::AccessibleWindow(HWND hwnd, const ControlLayout& layout)
    : hwnd_(hwnd), layout_(layout) {
  SetWindowSubclass(hwnd_, subclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

AccessibleWindow::~AccessibleWindow() {
  disconnect();
  if (hwnd_) RemoveWindowSubclass(hwnd_, subclassProc, 0);
}

AccessibleDescription AccessibleWindow::describe() const {
  return ui::describe(layout_, binding_ ? &*binding_ : nullptr);
}

long AccessibleWindow::state(const AccessibleDescription& d) const {
  long state = 0;
  const bool visible = IsWindowVisible(hwnd_) != FALSE;
  const bool enabled = IsWindowEnabled(hwnd_) != FALSE;
  if (!visible) state |= STATE_SYSTEM_INVISIBLE;
  if (!enabled) state |= STATE_SYSTEM_UNAVAILABLE;
  if (visible && enabled && layout_.tabStop) state |= STATE_SYSTEM_FOCUSABLE;
  if (GetFocus() == hwnd_) state |= STATE_SYSTEM_FOCUSED;
  if (d.checked) state |= STATE_SYSTEM_CHECKED;
  if (d.mixed) state |= STATE_SYSTEM_MIXED;
  if (d.readOnly) state |= STATE_SYSTEM_READONLY;
  if (d.defaultButton) state |= STATE_SYSTEM_DEFAULT;
  return state;
}

LRESULT CALLBACK AccessibleWindow::subclassProc(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  auto* window = reinterpret_cast<AccessibleWindow*>(self);
  switch (message) {
    case WM_GETOBJECT:
      // The object identifier arrives as a 32-bit value, sign-extended or not.
      if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
        if (const LRESULT result = window->clientObject(wParam)) return result;
      }
      break;
    case WM_NCDESTROY:
      window->disconnect();
      RemoveWindowSubclass(hwnd, subclassProc, 0);
      window->hwnd_ = nullptr;
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT AccessibleWindow::clientObject(WPARAM flags) {
  if (!object_) object_ = AccessibleObject::create(*this);
  return object_->result(flags);
}

void AccessibleWindow::disconnect() {
  if (!object_) return;
  object_->disconnect();
  object_.reset();
}

}  // namespace vcit::ui::win32
