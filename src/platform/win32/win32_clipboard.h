#pragma once

#include <string>

#include "platform/desktop.h"

namespace vcit::platform {

// The clipboard: text goes on it as CF_UNICODETEXT and as CF_TEXT (code page). A clipboard
// that another program holds open is retried for a short while before error 521.
class Win32Clipboard : public Clipboard {
 public:
  void setText(const std::string& text) override;
  // The clipboard's CF_UNICODETEXT as UTF-8 (empty when it holds none); error 521 as above.
  std::string text();
};

}  // namespace vcit::platform
