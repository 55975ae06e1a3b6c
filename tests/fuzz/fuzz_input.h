#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_targets.h"

// What every fuzz target works with: its input, read from the front, and the check that
// reports a broken invariant.
namespace vcit::fuzz {

// Throws a Failure naming what broke unless the condition holds.
void check(bool condition, const std::string& what);

// The input, consumed from the front; zeros once it is used up.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
  std::string take(std::size_t count) {
    count = std::min(count, size_ - std::min(at_, size_));
    std::string s(reinterpret_cast<const char*>(data_) + at_, count);
    at_ += count;
    return s;
  }
  std::string rest() { return take(size_); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// The code point (below 0x800) in UTF-8.
std::string utf8(std::uint32_t codePoint);

}  // namespace vcit::fuzz
