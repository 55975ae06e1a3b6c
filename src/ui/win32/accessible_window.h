#pragma once

#include <windows.h>

#include "platform/win32/scoped_win.h"
#include "ui/accessibility.h"
#include "ui/form_layout.h"

namespace vcit::ui::win32 {

class AccessibleObject;

// What a screen reader reads of one child window of a form. The window answers WM_GETOBJECT
// for its client area with the program's own IAccessible (the form passes the message on),
// which names and describes it from its layout and model (Wine's standard objects leave
// buttons and check boxes as a bare "client" without a name or a checked state) and leaves the
// rest (place, parent, navigation) to the system's standard object. Once the window is gone,
// the object that a reader may still hold answers CO_E_OBJNOTCONNECTED.
class AccessibleWindow {
 public:
  AccessibleWindow(HWND hwnd, const ControlLayout& layout);
  ~AccessibleWindow();
  AccessibleWindow(const AccessibleWindow&) = delete;
  AccessibleWindow& operator=(const AccessibleWindow&) = delete;

  // The window's logic, whose model control and names the description follows from now on.
  void bind(FormLogic& logic) { logic_ = &logic; }

  // The answer to WM_GETOBJECT: the object of the client area, or 0 for any other object
  // (the window's own procedure answers those).
  LRESULT getObject(WPARAM flags, LPARAM objectId);
  // Disconnects the object: the window is gone (WM_NCDESTROY).
  void windowGone();

  AccessibleDescription describe() const;
  // The MSAA state bits: those of the description, and enabled, focus and visibility of the
  // window.
  long state(const AccessibleDescription& description) const;
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
  const ControlLayout& layout_;
  FormLogic* logic_ = nullptr;
  platform::win32::ComPtr<AccessibleObject> object_;
};

}  // namespace vcit::ui::win32
