// libFuzzer entry for one of the fuzz targets, chosen at compile time (tools/fuzz builds one
// binary per target). A broken invariant aborts, so libFuzzer keeps the input as a crash.
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_targets.h"

#ifndef VCIT_FUZZ_TARGET
#error "VCIT_FUZZ_TARGET names the target, e.g. stateFileInput"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    vcit::fuzz::VCIT_FUZZ_TARGET(data, size);
  } catch (const vcit::fuzz::Failure& f) {
    std::fprintf(stderr, "broken invariant: %s\n", f.what.c_str());
    std::abort();
  }
  return 0;
}
