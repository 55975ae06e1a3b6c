#pragma once

#include <cstdint>

#include "platform/progress.h"

namespace vcit::platform {

// Progress of long actions on the desktop. For now it shows nothing: the taskbar button's
// progress (ITaskbarList3) and the wait cursor come with the window that owns them.
class Win32Progress : public Progress {
 public:
  void begin(std::uint64_t) override {}
  void advance(std::uint64_t) override {}
  void end() override {}
};

}  // namespace vcit::platform
