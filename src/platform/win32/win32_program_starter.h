#pragma once

#include <string>

#include "platform/desktop.h"

namespace vcit::platform {

// Starts a program by CreateProcessW, in a normal window: a missing path is error 53, a folder
// error 70, a document or another file that is no program error 5.
class Win32ProgramStarter : public ProgramStarter {
 public:
  void start(const std::string& path) override;
};

}  // namespace vcit::platform
