#include "ui/accessibility.h"

#include <type_traits>
#include <variant>

#include "ui/check_box.h"
#include "ui/command_button.h"
#include "ui/label.h"
#include "ui/progress_bar.h"
#include "ui/text_box.h"

namespace vcit::ui {

namespace {

// The position of the character that the access-key mark stands before, or npos.
std::size_t accessKeyAt(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return i + 1;
    ++i;
  }
  return std::string::npos;
}

// The length of the UTF-8 character starting with this byte.
std::size_t characterLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

std::string withoutAccessKeyMark(const std::string& caption) {
  std::string result;
  result.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    result += caption[i];
  }
  return result;
}

std::string accessKeyCharacter(const std::string& caption) {
  const std::size_t at = accessKeyAt(caption);
  if (at == std::string::npos) return {};
  return caption.substr(at, characterLength(static_cast<unsigned char>(caption[at])));
}

std::string accessKeyShortcut(const std::string& caption) {
  std::string key = accessKeyCharacter(caption);
  if (key.empty()) return {};
  if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z') key[0] = static_cast<char>(key[0] - 32);
  return "Alt+" + key;
}

AccessibleDescription describe(const ControlLayout& layout, FormLogic* logic) {
  AccessibleDescription d;
  if (logic && layout.nameOf) d.name = layout.nameOf(*logic, layout.index);
  if (d.name.empty()) d.name = layout.accessibleName;
  const std::optional<Model> model = logic && layout.model
                                         ? std::optional<Model>(layout.model(*logic, layout.index))
                                         : std::nullopt;
  const TextControl* text = model ? textOf(*model) : nullptr;
  switch (layout.kind) {
    case ControlKind::CommandButton:
    case ControlKind::CheckBox:
      d.role = layout.kind == ControlKind::CommandButton ? AccessibleRole::PushButton
                                                         : AccessibleRole::CheckButton;
      if (d.name.empty()) d.name = withoutAccessKeyMark(layout.caption);
      d.shortcut = accessKeyShortcut(layout.caption);
      d.defaultButton = layout.defaultButton;
      if (model) {
        if (CheckBox* const* box = std::get_if<CheckBox*>(&*model)) {
          d.checked = (*box)->value() == CheckBox::kChecked;
          d.mixed = (*box)->value() == CheckBox::kGrayed;
        }
      }
      break;
    case ControlKind::TextBox:
      d.role = AccessibleRole::Text;
      d.value = text ? text->text() : layout.caption;
      d.readOnly = layout.readOnly;
      break;
    case ControlKind::Label:
      d.role = AccessibleRole::StaticText;
      if (d.name.empty()) d.name = text ? text->text() : layout.caption;
      d.readOnly = true;
      break;
    case ControlKind::Panel:
      d.role = layout.iconResource != 0 ? AccessibleRole::Graphic : AccessibleRole::Grouping;
      break;
    case ControlKind::FileList:
      d.role = AccessibleRole::List;
      break;
    case ControlKind::ProgressBar:
      d.role = AccessibleRole::ProgressBar;
      if (model) {
        if (ProgressBar* const* bar = std::get_if<ProgressBar*>(&*model))
          d.value = std::to_string((*bar)->value() * 100 / ProgressBar::kMaximum) + "%";
      }
      break;
  }
  return d;
}

std::optional<std::string> descriptionOf(const ControlLayout& layout, FormLogic* logic) {
  if (!layout.descriptionOf) return std::nullopt;
  return logic ? layout.descriptionOf(*logic, layout.index) : std::string();
}

}  // namespace vcit::ui
