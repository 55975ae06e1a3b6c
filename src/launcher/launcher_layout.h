#pragma once

#include "ui/form_layout.h"

namespace vcit {

namespace launcher {

// The launcher window as designed: the button column, the hidden file list and the list panel
// with its 16 rows of a read-only name box beside a panel holding the row's check box; each
// control with its model in frmLauncher and its Click handler, in tab order.
const ui::FormLayout& layout();

}  // namespace launcher
}  // namespace vcit
