#ifdef _WIN32

#include "support/e2e_pattern_files.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/win32/scoped_win.h"
#include "support/e2e_files.h"
#include "support/e2e_text.h"

namespace vcit::e2e {

using platform::win32::UniqueHandle;

namespace {
void fillPattern(std::vector<char>& buffer, std::uint64_t offset, std::uint32_t seed) {
  // Eight-byte words from the position and the seed: cheap, and no two files or places alike.
  for (std::size_t i = 0; i + 8 <= buffer.size(); i += 8) {
    std::uint64_t x =
        (offset + i) * 0x9E3779B97F4A7C15ull ^ (static_cast<std::uint64_t>(seed) << 32 | seed);
    x ^= x >> 29;
    std::memcpy(buffer.data() + i, &x, 8);
  }
}
}  // namespace

void writePattern(const std::string& path, std::uint64_t size, std::uint32_t seed) {
  const UniqueHandle f(CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) throw std::runtime_error("cannot write " + path);
  std::vector<char> buffer(1 << 20);
  for (std::uint64_t at = 0; at < size; at += buffer.size()) {
    fillPattern(buffer, at, seed);
    const DWORD n = static_cast<DWORD>(std::min<std::uint64_t>(buffer.size(), size - at));
    DWORD written = 0;
    if (!WriteFile(f.get(), buffer.data(), n, &written, nullptr) || written != n)
      throw std::runtime_error("cannot write " + path);
  }
  // On the disk before anything is timed, so that its write-back does not compete with it.
  FlushFileBuffers(f.get());
}

void restamp(const std::string& path, std::uint32_t seed) {
  const std::uint64_t size = fileSize(path);
  const UniqueHandle f(CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) throw std::runtime_error("cannot restamp " + path);
  std::vector<char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(4096, size)));
  for (std::uint64_t at : {std::uint64_t{0}, size - buffer.size()}) {
    fillPattern(buffer, at, seed);
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(at);
    SetFilePointerEx(f.get(), to, nullptr, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(f.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &written, nullptr);
  }
  // Every restamp gets its own last-write time, also within one tick of the file clock.
  static std::uint64_t last = 0;
  FILETIME t;
  GetSystemTimeAsFileTime(&t);
  std::uint64_t v = (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  v = std::max(v, last + 10000000);  // at least a second later than the one before
  last = v;
  t.dwLowDateTime = static_cast<DWORD>(v);
  t.dwHighDateTime = static_cast<DWORD>(v >> 32);
  SetFileTime(f.get(), nullptr, nullptr, &t);
}

std::uint64_t hashFile(const std::string& path) {
  const UniqueHandle f(CreateFileW(wide(path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!f) return 0;
  std::uint64_t h = 1469598103934665603ull;
  std::vector<char> buffer(1 << 20);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(f.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) ||
        got == 0)
      break;
    std::size_t i = 0;
    for (; i + 8 <= got; i += 8) {
      std::uint64_t w;
      std::memcpy(&w, buffer.data() + i, 8);
      h = (h ^ w) * 1099511628211ull;
      h ^= h >> 31;
    }
    for (; i < got; ++i) h = (h ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
    h ^= got;
  }
  return h | 1;
}

}  // namespace vcit::e2e

#endif  // _WIN32
