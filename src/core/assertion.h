#pragma once

// VCIT_ASSERT(condition): a condition that only a programming error can break. Where
// VCIT_ASSERTIONS is defined (Debug builds, and the tests' own builds of the window toolkit) a
// broken one ends the program at once, naming itself; elsewhere it is not even evaluated.
#ifdef VCIT_ASSERTIONS
#include <cstdio>
#include <cstdlib>
#define VCIT_ASSERT(condition)                                                                   \
  ((condition)                                                                                   \
       ? void(0)                                                                                 \
       : (std::fprintf(stderr, "%s:%d: assertion failed: %s\n", __FILE__, __LINE__, #condition), \
          std::abort()))
#else
#define VCIT_ASSERT(condition) static_cast<void>(sizeof(!(condition)))
#endif
