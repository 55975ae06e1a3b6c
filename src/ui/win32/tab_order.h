#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ui/win32/child_window.h"

namespace vcit::ui::win32 {

// The controls the Tab key stops at, in the layout's tab order, walked round as a ring.
class TabOrder {
 public:
  using CanFocus = std::function<bool(const ChildWindow&)>;

  TabOrder() = default;
  // The tab stops among the layout's tab order.
  TabOrder(const FormLayout& layout, const ChildWindows& children);

  // The first stop that can take the focus; null for none.
  ChildWindow* first(const CanFocus& canFocus) const;
  // The stop after (or before) the one holding the window `from`, round the ring, that can
  // take the focus and is not `from` itself; from the start (or the end) when no stop holds
  // `from`. Null for none.
  ChildWindow* next(HWND from, bool backward, const CanFocus& canFocus) const;

 private:
  std::vector<ChildWindow*> stops_;
};

}  // namespace vcit::ui::win32
