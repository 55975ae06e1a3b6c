#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vcit::platform {

// The system code pages the fake platform models for text in record files.
namespace code_page {
// Windows-1252 (Western): one byte per character; a character it lacks becomes "?".
inline constexpr unsigned kWestern = 1252;
// UTF-8 as the system code page (a setting of Windows): one to four bytes per character.
inline constexpr unsigned kUtf8 = 65001;
}  // namespace code_page

// UTF-8 text in the code page when the page has every character of it (as WideCharToMultiByte
// gives it without best fit, and not putting in the default character); nothing otherwise,
// also for bytes that are no UTF-8.
std::optional<std::string> toCodePageExactly(unsigned codePage, std::string_view utf8);
// UTF-8 text in the code page as WideCharToMultiByte gives it by default: a few best-fit
// look-alikes of Windows-1252 ("Ω" as "O", "ā" as "a") and "?" for every other character the
// page lacks (two for one beyond the 16-bit range).
std::string toCodePageByDefault(unsigned codePage, std::string_view utf8);

}  // namespace vcit::platform
