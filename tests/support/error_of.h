#pragma once

#include "core/runtime_error.h"

namespace vcit {

// The run-time error number the call raises, or 0 when it succeeds.
template <class Call>
int errorOf(Call&& call) {
  try {
    call();
    return 0;
  } catch (const RuntimeError& e) {
    return e.number();
  }
}

}  // namespace vcit
