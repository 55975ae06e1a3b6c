#include "ui/progress_bar.h"

#include <algorithm>

namespace vcit::ui {

void ProgressBar::setVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  changed();
}

void ProgressBar::setValue(int value) {
  value = std::clamp(value, 0, kMaximum);
  if (value_ == value) return;
  value_ = value;
  changed();
}

void ProgressOnBar::begin(std::uint64_t total) {
  total_ = total;
  bar_.setValue(0);
  bar_.setVisible(total > 0);
  next_.begin(total);
}

void ProgressOnBar::advance(std::uint64_t done) {
  if (total_ > 0) {
    const long double part = static_cast<long double>(std::min(done, total_)) / total_;
    bar_.setValue(static_cast<int>(part * ProgressBar::kMaximum));
  }
  next_.advance(done);
}

void ProgressOnBar::end() {
  bar_.setVisible(false);
  bar_.setValue(0);
  next_.end();
}

}  // namespace vcit::ui
