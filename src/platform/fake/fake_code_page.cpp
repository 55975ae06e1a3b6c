#include "platform/fake/fake_code_page.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace vcit::platform {
namespace {

// The characters of Windows-1252's bytes 0x80 to 0x9F (0 where the page has none); the bytes
// from 0xA0 on are the Latin-1 characters of the same number.
constexpr std::array<char32_t, 32> kWestern80 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The code point at s[i] and its length in bytes; a byte that starts no character gives
// nothing (0xFFFFFFFF) and length 1.
std::pair<char32_t, std::size_t> next(std::string_view s, std::size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  const std::size_t size = b < 0x80             ? 1
                           : (b & 0xE0) == 0xC0 ? 2
                           : (b & 0xF0) == 0xE0 ? 3
                           : (b & 0xF8) == 0xF0 ? 4
                                                : 0;
  if (size == 0 || i + size > s.size()) return {0xFFFFFFFF, 1};
  char32_t c = size == 1 ? b : b & (0x7F >> size);
  for (std::size_t k = 1; k < size; ++k) {
    const auto t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) return {0xFFFFFFFF, 1};
    c = (c << 6) | (t & 0x3F);
  }
  return {c, size};
}

std::optional<char> westernByte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  const auto it = std::find(kWestern80.begin(), kWestern80.end(), c);
  if (c != 0 && it != kWestern80.end()) return static_cast<char>(0x80 + (it - kWestern80.begin()));
  return std::nullopt;
}

// A few of Windows-1252's best-fit look-alikes, as Windows and Wine convert them.
constexpr std::array<std::pair<char32_t, char>, 5> kWesternBestFit = {{
    {0x0101, 'a'},                      // a with macron
    {0x03A9, 'O'},                      // capital omega
    {0x03B1, 'a'},                      // alpha
    {0x03B2, static_cast<char>(0xDF)},  // beta, as sharp s
    {0x2002, ' '},                      // en space
}};

void checkModelled(unsigned codePage) {
  if (codePage != code_page::kWestern && codePage != code_page::kUtf8)
    throw std::invalid_argument("the fake models code pages 1252 and 65001 only");
}

}  // namespace

std::string toCodePageByDefault(unsigned codePage, std::string_view utf8) {
  checkModelled(codePage);
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto [c, size] = next(utf8, i);
    i += size;
    if (codePage == code_page::kUtf8) {
      out += c == 0xFFFFFFFF ? std::string_view("\xEF\xBF\xBD") : utf8.substr(i - size, size);
    } else if (const auto b = westernByte(c)) {
      out += *b;
    } else {
      const auto fit = std::find_if(kWesternBestFit.begin(), kWesternBestFit.end(),
                                    [c = c](const auto& f) { return f.first == c; });
      // A character beyond the 16-bit range is two UTF-16 units, each replaced on its own.
      out += fit != kWesternBestFit.end()    ? std::string(1, fit->second)
             : c > 0xFFFF && c != 0xFFFFFFFF ? "??"
                                             : "?";
    }
  }
  return out;
}

std::optional<std::string> toCodePageExactly(unsigned codePage, std::string_view utf8) {
  checkModelled(codePage);
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto [c, size] = next(utf8, i);
    if (c == 0xFFFFFFFF) return std::nullopt;
    if (codePage == code_page::kUtf8) {
      out += utf8.substr(i, size);
    } else {
      const auto b = westernByte(c);
      if (!b) return std::nullopt;
      out += *b;
    }
    i += size;
  }
  return out;
}

}  // namespace vcit::platform
