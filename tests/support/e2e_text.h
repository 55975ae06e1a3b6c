#pragma once

// The driver's text conversions: UTF-8 (the tests' strings) to and from UTF-16 (the "W"
// functions), as the program itself converts. Windows only.

#ifdef _WIN32

#include <string>

namespace vcit::e2e {

std::wstring wide(const std::string& utf8);
std::string narrow(const std::wstring& utf16);

}  // namespace vcit::e2e

#endif  // _WIN32
