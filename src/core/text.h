#pragma once

#include <string>
#include <string_view>

namespace vcit::text {

// Case-insensitive comparison of UTF-8 text as Windows compares names (CompareStringOrdinal
// with ignore-case): a capital and its small letter match where Unicode's simple case
// mappings lead from each to the other, in every script of the Basic Multilingual Plane;
// characters beyond it match only themselves (case_table.inc, tools/make-case-table).
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// Below zero, zero or above zero as a sorts before, with or after b when case is ignored.
int compareIgnoreCase(std::string_view a, std::string_view b);
// The text with each capital replaced by its small letter: equal exactly for the texts that
// equalsIgnoreCase matches.
std::string foldCase(std::string_view s);

// Removes leading and trailing blanks (the space character only, as the state file does).
std::string trimSpaces(std::string_view s);
// The same, as a view into s.
std::string_view trimmedSpaces(std::string_view s);

// True when s is empty or holds only spaces.
bool isBlank(std::string_view s);

// Number of characters (code points) in UTF-8 text; bytes that do not form a character count
// as one character each.
std::size_t length(std::string_view s);

// 16 hex digits (small letters) of the bytes' 64-bit FNV-1a hash: a short, stable name for
// text of any length. Stored in the state file: the digits of a text never change.
std::string hashHex(std::string_view bytes);

// The characters (code points) of UTF-8 text from index first (from 0), at most count of them.
std::string substr(std::string_view s, std::size_t first, std::size_t count);

}  // namespace vcit::text
