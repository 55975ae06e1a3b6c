#include "ui/win32/accessible_window.h"

#include "ui/win32/accessible_object.h"

namespace vcit::ui::win32 {

AccessibleWindow::AccessibleWindow(HWND hwnd, const ControlLayout& layout)
    : hwnd_(hwnd), layout_(layout) {}

AccessibleWindow::~AccessibleWindow() {
  windowGone();
}

long AccessibleWindow::state(const AccessibleDescription& d) const {
  const bool visible = IsWindowVisible(hwnd_) != FALSE;
  const bool enabled = IsWindowEnabled(hwnd_) != FALSE;
  return (visible ? 0 : STATE_SYSTEM_INVISIBLE) | (enabled ? 0 : STATE_SYSTEM_UNAVAILABLE) |
         (visible && enabled && layout_.tabStop ? STATE_SYSTEM_FOCUSABLE : 0) |
         (GetFocus() == hwnd_ ? STATE_SYSTEM_FOCUSED : 0) | (d.checked ? STATE_SYSTEM_CHECKED : 0) |
         (d.mixed ? STATE_SYSTEM_MIXED : 0) | (d.readOnly ? STATE_SYSTEM_READONLY : 0) |
         (d.defaultButton ? STATE_SYSTEM_DEFAULT : 0);
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
