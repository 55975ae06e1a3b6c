// Bounded randomized runs of the fuzz targets: a second or so each by default, longer with
// VCIT_FUZZ_SECONDS (tools/fuzz --random), another stream with VCIT_FUZZ_SEED.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "fuzz/fuzz_targets.h"

namespace vcit::fuzz {
namespace {

using Target = void (*)(const std::uint8_t*, std::size_t);

double secondsFromEnvironment() {
  const char* s = std::getenv("VCIT_FUZZ_SECONDS");
  return s ? std::atof(s) : 1.0;
}

std::uint32_t seedFromEnvironment() {
  const char* s = std::getenv("VCIT_FUZZ_SEED");
  return s ? static_cast<std::uint32_t>(std::strtoul(s, nullptr, 10)) : 20261207u;
}

std::string hex(const std::vector<std::uint8_t>& input) {
  std::string out;
  char buf[4];
  for (std::uint8_t b : input) {
    std::snprintf(buf, sizeof buf, "%02x", b);
    out += buf;
  }
  return out;
}

// Runs one input; a broken invariant fails the test with the input to replay.
bool runOne(Target target, const std::vector<std::uint8_t>& input) {
  try {
    target(input.data(), input.size());
    return true;
  } catch (const Failure& f) {
    ADD_FAILURE() << f.what << "\n  input (hex): " << hex(input);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "escaped: " << e.what() << "\n  input (hex): " << hex(input);
  }
  return false;
}

// Random inputs, and mutations of the seeds and of earlier inputs, until the time is up.
long randomRun(Target target, const std::vector<std::vector<std::uint8_t>>& seeds) {
  std::mt19937 rng(seedFromEnvironment());
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(secondsFromEnvironment());
  std::vector<std::vector<std::uint8_t>> pool = seeds;
  long runs = 0;
  for (const auto& s : seeds) {
    if (!runOne(target, s)) return runs;
    ++runs;
  }
  while (std::chrono::steady_clock::now() < deadline) {
    std::vector<std::uint8_t> input;
    if (pool.empty() || rng() % 3 == 0) {
      input.resize(rng() % (rng() % 8 == 0 ? 2048 : 160));
      for (auto& b : input) b = static_cast<std::uint8_t>(rng());
    } else {
      input = pool[rng() % pool.size()];
      const int edits = 1 + static_cast<int>(rng() % 6);
      for (int k = 0; k < edits; ++k) {
        const std::uint32_t what = rng() % 4;
        if (input.empty() || what == 0) {
          input.insert(input.begin() + static_cast<long>(input.empty() ? 0 : rng() % input.size()),
                       static_cast<std::uint8_t>(rng()));
        } else if (what == 1) {
          input[rng() % input.size()] = static_cast<std::uint8_t>(rng());
        } else if (what == 2) {
          input.erase(input.begin() + static_cast<long>(rng() % input.size()));
        } else {
          input[rng() % input.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        }
      }
    }
    if (!runOne(target, input)) return runs;
    ++runs;
    if (pool.size() < 256 && rng() % 16 == 0) pool.push_back(input);
  }
  std::printf("[ fuzz     ] %ld inputs\n", runs);
  return runs;
}

std::vector<std::uint8_t> bytes(std::initializer_list<int> list) {
  std::vector<std::uint8_t> v;
  for (int b : list) v.push_back(static_cast<std::uint8_t>(b));
  return v;
}

TEST(FuzzStateFile, RandomStateFilesAndPackageNames) {
  const std::vector<std::vector<std::uint8_t>> seeds = {
      {},
      // Three packages, records for two of them, then Apply with a row clicked.
      bytes({0x03, 3, 3, 'a', 'b', 'c', 0,    3, 'x', 'y',  'z', 0, 4,    ' ', 'q', 'q', ' ',
             0,    0, 1, 0,   0,   1,   0x00, 0, 1,   0x00, 1,   0, 0x03, 0,   5,   2}),
      // Seventeen packages, raw file bytes.
      bytes({0x01, 17, 1, 'a', 0, 1, 'b', 0, 1, 'c', 0, 1, 'd', 0, 1, 'e', 0,   1,   'f', 0, 1,
             'g',  0,  1, 'h', 0, 1, 'i', 0, 1, 'j', 0, 1, 'k', 0, 1, 'l', 0,   1,   'm', 0, 1,
             'n',  0,  1, 'o', 0, 1, 'p', 0, 1, 'q', 0, 0, 0,   0, 0, 0,   '1', '2', '3'}),
      // One package with a 51-character name, Apply with faults.
      bytes({0x3F, 1,   47,  'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n',
             'n',  'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n',
             'n',  'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n', 'n',
             'n',  'n', 'n', 'n', 'n', 0,   1,   2,   3,   4,   1,   0,   0,   1}),
  };
  EXPECT_GT(randomRun(&stateFileInput, seeds), 0);
}

TEST(FuzzRegistryValues, EveryTypeOddSizesMissingNuls) {
  const std::vector<std::vector<std::uint8_t>> seeds = {
      {},
      // REG_SZ, REG_MULTI_SZ without its final NULs, REG_DWORD of 3 bytes, REG_BINARY.
      bytes({4, 1, 'a', 1, 3,   'x', 0, 'y', 1, 'b', 7, 3, 'p', 0, 'q', 1, 'c', 4, 3,
             1, 2, 3,   1, 'd', 3,   2, 9,   9, 2,   0, 1, 'a', 3, 0,   0, 0,   0}),
      // REG_EXPAND_SZ with a reference, read with every option, then writes.
      bytes({1, 1, 'e', 2, 0x4C, '%', 'T', 'E', 'M', 'P', '%', 'x', 'y', 'z', 'w', 'v', 'u',
             6, 0, 0,   3, 1,    1,   2,   3,   4,   0,   1,   1,   0,   0,   0,   0}),
  };
  EXPECT_GT(randomRun(&regOpInput, seeds), 0);
}

TEST(FuzzZipDirectory, NamesAgreeWithLibzip) {
  const std::vector<std::vector<std::uint8_t>> seeds = {
      {},
      // Built: zip64, a comment with a false record, three entries (one flagged UTF-8).
      bytes({1,    0x07, 3, 0, 4,    'a', 'b', 0x60, 'c', 1,   1,  1,
             0x90, 7,    2, 0, 0x80, 1,   'x', 3,    'q', 'r', 's'}),
      // Built, with its end cut off.
      bytes({1, 0x10, 2, 0, 3, 'a', 'b', 'c', 0, 0, 1, 'd', 0, 7}),
  };
  EXPECT_GT(randomRun(&zipDirectoryInput, seeds), 0);
}

}  // namespace
}  // namespace vcit::fuzz
