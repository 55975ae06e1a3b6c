#pragma once

#include <windows.h>

#include <string>

#include "ui/form_layout.h"
#include "ui/win32/child_window.h"

namespace vcit::ui::win32 {

// The tooltip of a form's child windows whose layout gives them a description (the same text
// a screen reader reads): asked for when the pointer rests on one, so it always shows the
// logic's text of that moment; an empty text shows none.
class Tooltips {
 public:
  Tooltips() = default;
  Tooltips(const Tooltips&) = delete;
  Tooltips& operator=(const Tooltips&) = delete;
  ~Tooltips();

  // One tooltip window, owned by the form, for those children; none when there are none.
  void create(HWND form, const ChildWindows& children, unsigned dpi);
  void setDpi(unsigned dpi);
  // The form's WM_NOTIFY: true when it was the tooltip asking for a child's text.
  bool notified(const NMHDR& header, LPARAM lParam, const ChildWindows& children, FormLogic* logic);
  // The text shown now may have changed (a mark did): it is asked for again.
  void refresh();

 private:
  HWND window_ = nullptr;
  std::wstring text_;  // the text last handed out, held while the tooltip shows it
};

}  // namespace vcit::ui::win32
