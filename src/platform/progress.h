#pragma once

#include <algorithm>
#include <cstdint>

namespace vcit::platform {

// Shows how far a long action has come, as an amount done of a total (Apply: bytes copied of
// bytes to copy). Calls come in the order begin, advance (rising, at most the total) and
// working, end; none of them throws.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void begin(std::uint64_t total) = 0;
  virtual void advance(std::uint64_t done) = 0;
  // The action goes on with no amount to tell (Apply waiting for the disk): the display is
  // kept alive.
  virtual void working() = 0;
  virtual void end() = 0;
};

// One run of a Progress: begun when made, ended when gone, however the scope is left. Passes
// on amounts that rise, capped at the total (a file may grow while it is copied), at most
// about a thousand times a run: copies tell every chunk, and a desktop display of it may cost
// a call to another process. A rise not told is passed on as `working`, so that the display
// stays alive through a large total however slowly its thousandths go by.
class ProgressRun {
 public:
  ProgressRun(Progress& progress, std::uint64_t total) : progress_(progress), total_(total) {
    progress_.begin(total_);
  }
  ProgressRun(const ProgressRun&) = delete;
  ProgressRun& operator=(const ProgressRun&) = delete;
  ~ProgressRun() { progress_.end(); }

  void advance(std::uint64_t done) {
    done = std::min(done, total_);
    if (done <= done_) return;
    done_ = done;
    if (done_ < total_ && done_ - told_ < total_ / 1024) {
      progress_.working();
      return;
    }
    told_ = done_;
    progress_.advance(done_);
  }
  void working() { progress_.working(); }
  std::uint64_t done() const { return done_; }

 private:
  Progress& progress_;
  std::uint64_t total_;
  std::uint64_t done_ = 0;
  std::uint64_t told_ = 0;
};

}  // namespace vcit::platform
