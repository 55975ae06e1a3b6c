#pragma once

#include "ui/control.h"

namespace vcit::ui {

class CommandButton : public Control {
 public:
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    changed();
  }

  // A press of the button: raises its Click, unless it is disabled.
  void click() {
    if (takeClick()) raiseClick();
  }
  bool takeClick() override { return enabled_; }

 private:
  bool enabled_ = true;
};

}  // namespace vcit::ui
