#pragma once

// Measurements for the benchmarks and the fault test: the clock, this thread's processor time
// and this process's bytes written. Windows only.

#ifdef _WIN32

#include <cstdint>
#include <optional>

namespace vcit::e2e {

// Seconds on a monotonic clock.
double now();
// Seconds of processor time this thread has used (user and kernel): on a loaded machine the
// clock above also counts the time other programs ran.
double threadCpuTime();
// Bytes this process has written so far through the system (the write count of the Unix
// process Wine runs it in), or nothing where that cannot be read.
std::optional<std::uint64_t> bytesWrittenByProcess();

}  // namespace vcit::e2e

#endif  // _WIN32
