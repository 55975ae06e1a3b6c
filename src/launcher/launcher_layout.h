#pragma once

#include <vector>

#include "ui/form_layout.h"

namespace vcit {

class frmLauncher;

namespace launcher {

// The launcher window as designed: the button column, the hidden file list and the list panel
// with its 16 rows of a read-only name box beside a panel holding the row's check box.
const ui::FormLayout& layout();

// The launcher's model controls tied to the child windows of layout().
std::vector<ui::Binding> bindings(frmLauncher& form);

}  // namespace launcher
}  // namespace vcit
