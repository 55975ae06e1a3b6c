#pragma once

#include <vector>

#include "ui/form_layout.h"

namespace vcit {

class frmAbout;

namespace about {

// The About window as designed: icon, title, version, description, the etched separator,
// the credit line and the two buttons, in a fixed dialog frame at a fixed place on the screen.
const ui::FormLayout& layout();

// The About window's model controls tied to the child windows of layout() (and its caption).
std::vector<ui::Binding> bindings(frmAbout& form);

}  // namespace about
}  // namespace vcit
