#include "ui/form_layout.h"

#include <algorithm>
#include <type_traits>

#include "core/runtime_error.h"
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

void setTabOrder(FormLayout& form, const std::vector<ControlName>& order) {
  int tabIndex = 0;
  for (const ControlName& control : order) {
    const auto found = std::find_if(
        form.controls.begin(), form.controls.end(),
        [&](const ControlLayout& c) { return c.name == control.name && c.index == control.index; });
    if (found == form.controls.end())
      throw RuntimeError(err::kInternalError, "No control " + control.name);
    found->tabIndex = tabIndex++;
  }
}

TextControl* Binding::text() const {
  return std::visit(
      [](auto* model) -> TextControl* {
        if constexpr (std::is_base_of_v<TextControl, std::remove_pointer_t<decltype(model)>>)
          return model;
        return nullptr;
      },
      control);
}

}  // namespace vcit::ui
