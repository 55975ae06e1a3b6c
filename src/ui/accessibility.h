#pragma once

#include <optional>
#include <string>

#include "ui/form_layout.h"

namespace vcit::ui {

// What a control is to a screen reader.
enum class AccessibleRole {
  PushButton,
  CheckButton,
  Text,        // a text box
  StaticText,  // a label
  Graphic,     // a panel showing an icon
  Grouping,    // a panel holding other controls
  List,
  ProgressBar,
};

// What a screen reader reads of a control: its name, role, value, access key and the states
// that its model and layout decide (the window adds enabled, focus and visibility).
struct AccessibleDescription {
  std::string name;
  AccessibleRole role = AccessibleRole::StaticText;
  std::optional<std::string> value;
  std::string shortcut;  // "Alt+A"; empty when it has no access key
  bool checked = false;
  bool mixed = false;  // a grayed check box
  bool readOnly = false;
  bool defaultButton = false;
};

// The description of a control of a layout; with the window's logic once bound to it.
AccessibleDescription describe(const ControlLayout& layout, FormLogic* logic);

// What the control adds to its name, with the window's logic once bound to it: none when its
// layout gives it nothing to add (the system's standard object then answers), empty when it has
// nothing now. Asked apart from describe(): it may cost more than the rest.
std::optional<std::string> descriptionOf(const ControlLayout& layout, FormLogic* logic);

// A caption as read aloud: without the "&" marking the access key ("&&" stands for "&").
std::string withoutAccessKeyMark(const std::string& caption);
// The character after the access-key mark, as written; empty without one.
std::string accessKeyCharacter(const std::string& caption);
// The keys that press a control with this caption ("E&xit": "Alt+X"); empty without an
// access key.
std::string accessKeyShortcut(const std::string& caption);

}  // namespace vcit::ui
