#pragma once

#include "ui/text_control.h"

namespace vcit::ui {

// A text the user reads and cannot change: a label, or a window's caption.
class Label : public TextControl {};

}  // namespace vcit::ui
