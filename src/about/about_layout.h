#pragma once

#include "ui/form_layout.h"

namespace vcit {

namespace about {

// The About window as designed: icon, title, version, description, the etched separator,
// the credit line and the two buttons, in a fixed dialog frame at a fixed place on the screen;
// each control with its model in frmAbout and its Click handler, in tab order.
const ui::FormLayout& layout();

}  // namespace about
}  // namespace vcit
