#pragma once

#include <functional>
#include <string>
#include <utility>

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

  // The button's Click event; a press of a disabled button does nothing.
  void click() {
    if (enabled_ && onClick) onClick();
  }

  std::function<void()> onClick;

 private:
  bool enabled_ = true;
};

}  // namespace vcit::ui
