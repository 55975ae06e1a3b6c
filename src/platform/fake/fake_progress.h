#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/fake/call_log.h"
#include "platform/progress.h"

namespace vcit::platform {

// Records every call in the shared call log ("progress begin 300", "progress 100",
// "progress end"), so that a test sees them in order with the other services' calls; the
// calls of `working` are only counted.
class FakeProgress : public Progress {
 public:
  explicit FakeProgress(CallLog& log) : log_(log) {}
  void begin(std::uint64_t total) override { log_.add("progress begin " + std::to_string(total)); }
  void advance(std::uint64_t done) override { log_.add("progress " + std::to_string(done)); }
  void working() override {
    ++workingCalls;
    if (whileWorking) whileWorking();
  }
  void end() override { log_.add("progress end"); }

  int workingCalls = 0;
  // Runs in each call of `working`, as the desktop's handlers do (a test makes one fail).
  std::function<void()> whileWorking;

 private:
  CallLog& log_;
};

}  // namespace vcit::platform
