#pragma once

#include "ui/control.h"

namespace vcit::ui {

// A check box whose value is 0 (unchecked), 1 (checked) or 2 (grayed). Like the toolkit's,
// setting a new value raises Click, and so does a user's click, which checks an unchecked box
// and clears a checked or grayed one.
class CheckBox : public Control {
 public:
  static constexpr int kUnchecked = 0;
  static constexpr int kChecked = 1;
  static constexpr int kGrayed = 2;

  int value() const { return value_; }
  // Error 380 for a value other than 0, 1 and 2.
  void setValue(int value);
  void userClick() {
    if (takeClick()) raiseClick();
  }
  // A user's click always changes the value.
  bool takeClick() override {
    value_ = value_ == kUnchecked ? kChecked : kUnchecked;
    changed();
    return true;
  }

 private:
  int value_ = kUnchecked;
};

}  // namespace vcit::ui
