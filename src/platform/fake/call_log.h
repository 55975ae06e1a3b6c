#pragma once

#include <string>
#include <vector>

namespace vcit::platform {

// The calls that fakes record, in order, so that a test can check the sequence across fakes.
struct CallLog {
  std::vector<std::string> calls;
  void add(std::string call) { calls.push_back(std::move(call)); }
};

}  // namespace vcit::platform
