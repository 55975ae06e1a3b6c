#pragma once

// Large files with known contents, for the benchmarks and the fault test: written from a seed,
// changed in place, and compared by hash. Windows only.

#ifdef _WIN32

#include <cstdint>
#include <string>

namespace vcit::e2e {

// A file of this size whose bytes follow from the seed (no two seeds alike), flushed to the
// disk.
void writePattern(const std::string& path, std::uint64_t size, std::uint32_t seed);
// Overwrites the first and last 4 KB of a file with bytes from the seed (its size stays, its
// last-write time moves), so that it differs from every earlier version.
void restamp(const std::string& path, std::uint32_t seed);
// A 64-bit hash of the whole file (0 for a missing one).
std::uint64_t hashFile(const std::string& path);

}  // namespace vcit::e2e

#endif  // _WIN32
