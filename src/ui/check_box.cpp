#include "ui/check_box.h"

#include "core/runtime_error.h"

namespace vcit::ui {

void CheckBox::setValue(int value) {
  if (value < kUnchecked || value > kGrayed) raise(err::kInvalidPropertyValue);
  if (value == value_) return;
  value_ = value;
  changed();
  raiseClick();
}

}  // namespace vcit::ui
