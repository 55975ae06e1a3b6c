#pragma once

#include <array>
#include <cstddef>

#include "core/runtime_error.h"

namespace vcit::ui {

// A fixed control array with indices 0 to N-1; any other index is error 340.
template <class T, std::size_t N>
class ControlArray {
 public:
  static constexpr std::size_t kSize = N;

  T& operator()(long index) { return items_[checked(index)]; }
  const T& operator()(long index) const { return items_[checked(index)]; }

  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }

 private:
  static std::size_t checked(long index) {
    if (index < 0 || index >= static_cast<long>(N)) raise(err::kControlArrayElementMissing);
    return static_cast<std::size_t>(index);
  }
  std::array<T, N> items_;
};

}  // namespace vcit::ui
