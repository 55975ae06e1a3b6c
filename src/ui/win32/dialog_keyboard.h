#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/win32/child_window.h"
#include "ui/win32/tab_order.h"

namespace vcit::ui::win32 {

// The access key of a caption: the character after a single "&", lower case; 0 for none.
wchar_t accessKey(const std::wstring& caption);

// The keyboard interface of a dialog for one form: Tab and Shift+Tab in the tab order, access
// keys, Enter for the focused or the default button, Esc for the cancel button, and the
// keyboard cues once the keyboard is used.
class DialogKeyboard {
 public:
  // click: a click on a control, as the form handles it.
  DialogKeyboard(const ChildWindows& children, std::function<void(ChildWindow&)> click)
      : children_(children), click_(std::move(click)) {}

  void setTabOrder(TabOrder order) { tabOrder_ = std::move(order); }

  // A keyboard message of the form's windows: true when it has been handled and must not be
  // dispatched.
  bool handleKey(HWND form, const MSG& msg);

  // Moves the focus to the next (or previous) control that can take it.
  void focusNext(HWND from, bool backward);
  ChildWindow* firstFocusable() const;
  // A tab stop that is visible and enabled, its containers too.
  bool canFocus(const ChildWindow& child) const;
  // Tab selects a text box's text, as in dialogs.
  static void focus(const ChildWindow& child, bool selectText = false);

 private:
  void press(ChildWindow& child);
  ChildWindow* accessKeyTarget(wchar_t key) const;
  ChildWindow* defaultButton(bool cancel) const;

  const ChildWindows& children_;
  std::function<void(ChildWindow&)> click_;
  TabOrder tabOrder_;
};

}  // namespace vcit::ui::win32
