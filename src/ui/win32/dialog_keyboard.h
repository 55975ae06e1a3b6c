#pragma once

#include <windows.h>

#include <vector>

#include "ui/win32/child_window.h"

namespace vcit::ui::win32 {

// A form's dialog keyboard: Tab and Shift+Tab in the tab order, access keys, Enter for the
// focused or the default button, Esc for the cancel button, keyboard cues once used.
class DialogKeyboard {
 public:
  explicit DialogKeyboard(const ChildWindows& children) : children_(children) {}

  // The tab stops among the layout's tab order, walked round as a ring.
  void setTabOrder(const FormLayout& layout);

  // True when the message has been handled and must not be dispatched.
  bool handleKey(HWND form, const MSG& msg);

  void focusNext(HWND from, bool backward);
  ChildWindow* firstFocusable() const;
  // A tab stop that is visible and enabled, its containers too.
  bool canFocus(const ChildWindow& child) const;
  // Tab selects a text box's text, as in dialogs.
  static void focus(const ChildWindow& child, bool selectText = false);

 private:
  // A press is a click: the control's parent is told BN_CLICKED, as of a click with the mouse.
  void press(ChildWindow& child);
  ChildWindow* accessKeyTarget(wchar_t key) const;
  ChildWindow* defaultButton(bool cancel) const;

  const ChildWindows& children_;
  std::vector<ChildWindow*> stops_;
};

}  // namespace vcit::ui::win32
