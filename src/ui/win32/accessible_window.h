#pragma once

#include <windows.h>

#include "platform/win32/scoped_win.h"
#include "ui/accessibility.h"
#include "ui/form_layout.h"

namespace vcit::ui::win32 {

class AccessibleObject;

// What a screen reader reads of a form's child window: the program's own IAccessible for its
// client area, described from its layout and model (Wine's standard objects leave buttons and
// check boxes a bare "client"), the rest (place, parent, navigation) left to the system's
// standard object. Once the window is gone, the object answers CO_E_OBJNOTCONNECTED.
class AccessibleWindow {
 public:
  AccessibleWindow(HWND hwnd, const ControlLayout& layout);
  ~AccessibleWindow();
  AccessibleWindow(const AccessibleWindow&) = delete;
  AccessibleWindow& operator=(const AccessibleWindow&) = delete;

  void bind(FormLogic& logic) { logic_ = &logic; }

  // WM_GETOBJECT: the client area's object, or 0 for the window's own procedure to answer.
  LRESULT getObject(WPARAM flags, LPARAM objectId);
  void windowGone();

  AccessibleDescription describe() const { return ui::describe(layout_, logic_); }
  std::optional<std::string> description() const { return ui::descriptionOf(layout_, logic_); }
  // The description's MSAA state bits and the window's (enabled, focus, visibility).
  long state(const AccessibleDescription& description) const;
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
  const ControlLayout& layout_;
  FormLogic* logic_ = nullptr;
  platform::win32::ComPtr<AccessibleObject> object_;
};

}  // namespace vcit::ui::win32
