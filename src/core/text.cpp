#include "core/text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace vcit::text {
namespace {

struct Decoded {
  char32_t cp;
  std::size_t size;
};

Decoded decode(std::string_view s, std::size_t i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  auto cont = [&](std::size_t k) {
    return i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
  };
  auto at = [&](std::size_t k) { return static_cast<char32_t>(s[i + k] & 0x3F); };
  if (b0 < 0x80) return {b0, 1};
  if ((b0 & 0xE0) == 0xC0 && cont(1)) return {((b0 & 0x1Fu) << 6) | at(1), 2};
  if ((b0 & 0xF0) == 0xE0 && cont(1) && cont(2))
    return {((b0 & 0x0Fu) << 12) | (at(1) << 6) | at(2), 3};
  if ((b0 & 0xF8) == 0xF0 && cont(1) && cont(2) && cont(3))
    return {((b0 & 0x07u) << 18) | (at(1) << 12) | (at(2) << 6) | at(3), 4};
  return {0xDC00u | b0, 1};  // a stray byte stands for itself
}

struct CasePair {
  char16_t capital;
  char16_t small;
};

constexpr CasePair kCasePairs[] = {
#include "core/case_table.inc"
};

// The small letter of a capital that has one; every other character stands for itself.
char32_t fold(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if (c > 0xFFFF) return c;
  const auto* end = std::end(kCasePairs);
  const auto* it = std::lower_bound(std::begin(kCasePairs), end, c,
                                    [](const CasePair& p, char32_t v) { return p.capital < v; });
  return (it != end && it->capital == c) ? it->small : c;
}

void append(std::string& out, char32_t c) {
  if ((c & 0xFFFFFF00u) == 0xDC00u) {
    out += static_cast<char>(c & 0xFF);
  } else if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string foldCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const Decoded d = decode(s, i);
    append(out, fold(d.cp));
    i += d.size;
  }
  return out;
}

int compareIgnoreCase(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const Decoded da = decode(a, i), db = decode(b, j);
    const char32_t fa = fold(da.cp), fb = fold(db.cp);
    if (fa != fb) return fa < fb ? -1 : 1;
    i += da.size;
    j += db.size;
  }
  if (i == a.size()) return j == b.size() ? 0 : -1;
  return 1;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  return compareIgnoreCase(a, b) == 0;
}

std::string_view trimmedSpaces(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(' ');
  return s.substr(first, last - first + 1);
}

std::string trimSpaces(std::string_view s) {
  return std::string(trimmedSpaces(s));
}

bool isBlank(std::string_view s) {
  return s.find_first_not_of(' ') == std::string_view::npos;
}

std::size_t length(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); i += decode(s, i).size) ++n;
  return n;
}

std::string substr(std::string_view s, std::size_t first, std::size_t count) {
  std::size_t i = 0, n = 0;
  while (i < s.size() && n < first) {
    i += decode(s, i).size;
    ++n;
  }
  std::size_t j = i;
  for (n = 0; j < s.size() && n < count; ++n) j += decode(s, j).size;
  return std::string(s.substr(i, j - i));
}

std::string hashHex(std::string_view bytes) {
  std::uint64_t hash = 0xCBF29CE484222325u;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001B3u;
  }
  std::string hex(16, '0');
  for (std::size_t i = hex.size(); i-- > 0; hash >>= 4) hex[i] = "0123456789abcdef"[hash & 0xF];
  return hex;
}

}  // namespace vcit::text
