#pragma once

#include <string>

#include "platform/desktop.h"

namespace vcit::platform {

// Message boxes through MessageBoxA (text and title in the system code page), owned by the
// active window of the calling thread.
class Win32MessageBoxes : public MessageBoxes {
 public:
  int show(const std::string& text, const std::string& title, unsigned style) override;
};

}  // namespace vcit::platform
