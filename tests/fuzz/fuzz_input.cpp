#include "fuzz/fuzz_input.h"

namespace vcit::fuzz {

void check(bool condition, const std::string& what) {
  if (!condition) throw Failure{what};
}

std::string utf8(std::uint32_t codePoint) {
  std::string s;
  if (codePoint < 0x80) {
    s += static_cast<char>(codePoint);
  } else {
    s += static_cast<char>(0xC0 | (codePoint >> 6));
    s += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
  return s;
}

}  // namespace vcit::fuzz
