#pragma once

#include <string>
#include <string_view>

namespace vcit::text {

// Case-insensitive comparison of UTF-8 text, folding ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic letters (what the registry and a text-compare dictionary treat alike).
bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string foldCase(std::string_view s);

// Removes leading and trailing blanks (the space character only, as the state file does).
std::string trimSpaces(std::string_view s);

// True when s is empty or holds only spaces.
bool isBlank(std::string_view s);

// Number of characters (code points) in UTF-8 text; bytes that do not form a character count
// as one character each.
std::size_t length(std::string_view s);

// The characters (code points) of UTF-8 text from index first (from 0), at most count of them.
std::string substr(std::string_view s, std::size_t first, std::size_t count);

}  // namespace vcit::text
