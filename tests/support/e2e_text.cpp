#ifdef _WIN32

#include "support/e2e_text.h"

#include "platform/win32/text_conversion.h"

namespace vcit::e2e {

std::wstring wide(const std::string& utf8) {
  return platform::win32::widen(utf8);
}

std::string narrow(const std::wstring& utf16) {
  return platform::win32::narrow(utf16);
}

}  // namespace vcit::e2e

#endif  // _WIN32
