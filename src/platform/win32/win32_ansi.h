#pragma once

#include <string>

namespace vcit::platform::ansi {

// UTF-8 text to the system's 8-bit code page (CP_ACP) and back. Every byte counts, NULs
// included, so data with embedded NULs converts whole. Characters the code page lacks become
// its default character.
std::string fromUtf8(const std::string& utf8);
std::string toUtf8(const std::string& ansi);
std::string toUtf8(const char* ansi, std::size_t size);

}  // namespace vcit::platform::ansi
