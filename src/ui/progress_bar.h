#pragma once

#include <cstdint>

#include "platform/progress.h"
#include "ui/control.h"

namespace vcit::ui {

// A bar that fills as a long action goes on: shown or hidden, and how far it is filled, from 0
// to kMaximum.
class ProgressBar : public Control {
 public:
  static constexpr int kMaximum = 1000;

  bool visible() const { return visible_; }
  int value() const { return value_; }
  void setVisible(bool visible);
  // Values outside 0 to kMaximum are taken as the nearest end.
  void setValue(int value);

 private:
  bool visible_ = false;
  int value_ = 0;
};

// A run of a Progress shown on a bar too: the bar shows from the start of a run with an amount
// to tell (a total above 0) and hides at its end. Every call goes on to `next` (the desktop's
// own display), after the bar has been told.
class ProgressOnBar : public platform::Progress {
 public:
  ProgressOnBar(platform::Progress& next, ProgressBar& bar) : next_(next), bar_(bar) {}

  void begin(std::uint64_t total) override;
  void advance(std::uint64_t done) override;
  void working() override { next_.working(); }
  void end() override;

 private:
  platform::Progress& next_;
  ProgressBar& bar_;
  std::uint64_t total_ = 0;
};

}  // namespace vcit::ui
