#include "ui/win32/accessible_window.h"

#include "ui/win32/accessible_object.h"

namespace vcit::ui::win32 {

AccessibleWindow::AccessibleWindow(HWND hwnd, const ControlLayout& layout)
    : hwnd_(hwnd), layout_(layout) {}

AccessibleWindow::~AccessibleWindow() {
  windowGone();
}

AccessibleDescription AccessibleWindow::describe() const {
  return ui::describe(layout_, logic_);
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

LRESULT AccessibleWindow::getObject(WPARAM flags, LPARAM objectId) {
  // The object identifier arrives as a 32-bit value, sign-extended or not.
  if (static_cast<DWORD>(objectId) != static_cast<DWORD>(OBJID_CLIENT)) return 0;
  if (!object_) object_ = AccessibleObject::create(*this);
  return object_->result(flags);
}

void AccessibleWindow::windowGone() {
  if (object_) {
    object_->disconnect();
    object_.reset();
  }
  hwnd_ = nullptr;
}

}  // namespace vcit::ui::win32
