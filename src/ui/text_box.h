#pragma once

#include "ui/text_control.h"

namespace vcit::ui {

// A one-line text box.
class TextBox : public TextControl {};

}  // namespace vcit::ui
