#pragma once

#include <functional>
#include <utility>

#include "ui/form_layout.h"

namespace vcit::ui {

// What every control of the model shares: a view that mirrors it on screen, told after each
// change of the model's state, and the handler its layout entry names for its Click.
class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  void bindView(std::function<void()> refresh) { refreshView_ = std::move(refresh); }
  // From now on its Click runs the handler that `entry` names in `logic` (ui::connect).
  void connect(FormLogic& logic, const ControlLayout& entry) {
    logic_ = &logic;
    entry_ = &entry;
  }
  // What a user's click does to the model before its Click is raised; false: nothing is
  // raised (a disabled button).
  virtual bool takeClick() { return true; }

 protected:
  ~Control() = default;
  void changed() const {
    if (refreshView_) refreshView_();
  }
  void raiseClick() const {
    if (logic_) ui::raiseClick(*logic_, *entry_);
  }

 private:
  std::function<void()> refreshView_;
  FormLogic* logic_ = nullptr;
  const ControlLayout* entry_ = nullptr;
};

}  // namespace vcit::ui
