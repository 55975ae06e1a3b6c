#include "core/text.h"

#include <cstdint>

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

char32_t fold(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
    // Latin Extended-A pairs letters upper/lower as even/odd, shifted by one in 0x139..0x148
    // and 0x179..0x17E.
    const bool shifted = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (shifted) return (c % 2 == 1) ? c + 1 : c;
    return (c % 2 == 0) ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
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

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const Decoded da = decode(a, i), db = decode(b, j);
    if (fold(da.cp) != fold(db.cp)) return false;
    i += da.size;
    j += db.size;
  }
  return i == a.size() && j == b.size();
}

std::string trimSpaces(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(' ');
  return std::string(s.substr(first, last - first + 1));
}

bool isBlank(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

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

}  // namespace vcit::text
