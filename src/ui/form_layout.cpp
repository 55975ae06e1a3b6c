#include "ui/form_layout.h"

#include <algorithm>

namespace vcit::ui {

std::vector<const ControlLayout*> FormLayout::tabOrder() const {
  std::vector<const ControlLayout*> order;
  for (const auto& c : controls)
    if (c.tabIndex >= 0) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(), [](const ControlLayout* a, const ControlLayout* b) {
    return a->tabIndex < b->tabIndex;
  });
  return order;
}

ControlLayout commandButton(const char* name, int id, TwipsRect rect, int tabIndex,
                            const char* caption) {
  ControlLayout c;
  c.name = name;
  c.kind = ControlKind::CommandButton;
  c.id = id;
  c.rect = rect;
  c.tabIndex = tabIndex;
  c.tabStop = true;
  c.caption = caption;
  return c;
}

}  // namespace vcit::ui
