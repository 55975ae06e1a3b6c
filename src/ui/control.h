#pragma once

#include <functional>
#include <utility>

namespace vcit::ui {

// What every control of the model shares: a view that mirrors it on screen. The view is told
// after each change of the model's state; events from the view (clicks) call the model.
class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  void bindView(std::function<void()> refresh) { refreshView_ = std::move(refresh); }

 protected:
  void changed() const {
    if (refreshView_) refreshView_();
  }

 private:
  std::function<void()> refreshView_;
};

}  // namespace vcit::ui
