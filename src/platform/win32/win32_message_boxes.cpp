#include "platform/win32/win32_message_boxes.h"

#include <windows.h>

#include "platform/win32/text_conversion.h"

namespace vcit::platform {

int Win32MessageBoxes::show(const std::string& text, const std::string& title, unsigned style) {
  const std::string ansiText = win32::toCodePage(text);
  const std::string ansiTitle = win32::toCodePage(title);
  return MessageBoxA(GetActiveWindow(), ansiText.c_str(), ansiTitle.c_str(), style);
}

}  // namespace vcit::platform
