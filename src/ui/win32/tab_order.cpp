#include "ui/win32/tab_order.h"

#include <algorithm>

namespace vcit::ui::win32 {

TabOrder::TabOrder(const FormLayout& layout, const ChildWindows& children) {
  for (const ControlLayout* c : layout.tabOrder()) {
    ChildWindow* child = children.findById(c->id);
    if (child && c->tabStop) stops_.push_back(child);
  }
}

ChildWindow* TabOrder::first(const CanFocus& canFocus) const {
  const auto found = std::find_if(stops_.begin(), stops_.end(),
                                  [&](const ChildWindow* stop) { return canFocus(*stop); });
  return found == stops_.end() ? nullptr : *found;
}

ChildWindow* TabOrder::next(HWND from, bool backward, const CanFocus& canFocus) const {
  auto holds = [from](const ChildWindow* stop) {
    return from && (stop->hwnd == from || IsChild(stop->hwnd, from));
  };
  // The ring in walking order, ending with the stop holding `from` (the last in tab order
  // when several do).
  std::vector<ChildWindow*> ring = stops_;
  const auto held = std::find_if(ring.rbegin(), ring.rend(), holds);
  const bool found = held != ring.rend();
  if (found) std::rotate(ring.begin(), held.base(), ring.end());
  if (backward) {
    std::reverse(ring.begin(), ring.end());
    if (found) std::rotate(ring.begin(), ring.begin() + 1, ring.end());
  }
  const auto target = std::find_if(ring.begin(), ring.end(), [&](const ChildWindow* stop) {
    return stop->hwnd != from && canFocus(*stop);
  });
  return target == ring.end() ? nullptr : *target;
}

}  // namespace vcit::ui::win32
