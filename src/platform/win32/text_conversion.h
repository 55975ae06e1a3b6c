#pragma once

// Text between the program's UTF-8 and the encodings of Windows: UTF-16 for the "W" functions
// and the system's 8-bit code page (CP_ACP) for the "A" functions.

#include <cstddef>
#include <optional>
#include <string>

namespace vcit::platform::win32 {

// UTF-8 to UTF-16 and back (invalid UTF-8 becomes U+FFFD).
std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& wide);
std::string narrow(const wchar_t* wide, std::size_t size);

// The system's 8-bit code page (CP_ACP).
inline constexpr unsigned kSystemCodePage = 0;

// UTF-8 to a code page (by default the system's) and back. Every byte counts, NULs included,
// so data with embedded NULs converts whole. Characters the code page lacks become its default
// character.
std::string toCodePage(const std::string& utf8, unsigned codePage = kSystemCodePage);
// The same when every character has a form in the code page that converts back to it: none
// replaced by the default character or a look-alike ("\xC4\x81" best fit as "a"). Nothing
// otherwise.
std::optional<std::string> toCodePageExactly(const std::string& utf8,
                                             unsigned codePage = kSystemCodePage);
std::string fromCodePage(const std::string& ansi);
std::string fromCodePage(const char* ansi, std::size_t size);

}  // namespace vcit::platform::win32
