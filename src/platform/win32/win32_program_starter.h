#pragma once

#include <string>

#include "platform/desktop.h"

namespace vcit::platform {

// Starts a program by ShellExecuteW "open", in a normal window.
class Win32ProgramStarter : public ProgramStarter {
 public:
  void start(const std::string& path) override;
};

}  // namespace vcit::platform
