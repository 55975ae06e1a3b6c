#include "ui/form_layout.h"

#include <algorithm>
#include <type_traits>

#include "core/assertion.h"
#include "ui/check_box.h"
#include "ui/command_button.h"
#include "ui/label.h"
#include "ui/progress_bar.h"
#include "ui/text_box.h"

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

ControlLayout commandButton(const char* name, int id, TwipsRect rect, const char* caption) {
  ControlLayout c;
  c.name = name;
  c.kind = ControlKind::CommandButton;
  c.id = id;
  c.rect = rect;
  c.tabStop = true;
  c.caption = caption;
  return c;
}

TextControl* textOf(const Model& model) {
  return std::visit(
      [](auto* control) -> TextControl* {
        if constexpr (std::is_base_of_v<TextControl, std::remove_pointer_t<decltype(control)>>)
          return control;
        return nullptr;
      },
      model);
}

void connect(FormLogic& logic, const FormLayout& layout) {
  for (const ControlLayout& c : layout.controls) {
    if (!c.onClick && !c.onArrayClick) continue;
    VCIT_ASSERT(c.model);
    std::visit([&](Control* control) { control->connect(logic, c); }, c.model(logic, c.index));
  }
}

}  // namespace vcit::ui
