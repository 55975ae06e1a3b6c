// RegOp reading one value of a key with 10,000 values in Wine's registry: the first read
// (open and enumeration into the cache) against cached reads, measured in one run.
//
//   bench_regop_wine [--small]      (--small: 200 values)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <shlwapi.h>

#include "platform/fake/fake_desktop.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "registry/reg_op.h"
#include "support/e2e_measures.h"

using namespace vcit::e2e;

int main(int argc, char** argv) {
  int values = 10000;
  int firstRuns = 5;
  long cachedReads = 200000;
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "--small") values = 200, firstRuns = 1, cachedReads = 2000;

  const char* path = "Software\\VCITBench\\ManyValues";
  SHDeleteKeyA(HKEY_CURRENT_USER, path);
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    std::fprintf(stderr, "cannot create the key\n");
    return 1;
  }
  auto name = [](int i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Value%05d", i);
    return std::string(buf);
  };
  for (int i = 0; i < values; ++i) {
    const std::string data = "C:\\Games\\Valor Crest\\data " + std::to_string(i);
    RegSetValueExA(key, name(i).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
  }
  RegCloseKey(key);

  vcit::platform::Win32Registry registry;
  vcit::platform::Win32System system;
  vcit::platform::CallLog log;
  vcit::platform::FakeMessageBoxes messages(log);

  const std::string wanted = name(values / 2);
  const std::string expected = "C:\\Games\\Valor Crest\\data " + std::to_string(values / 2);
  std::vector<double> firstMs;
  for (int r = 0; r < firstRuns; ++r) {
    const double t = now();
    vcit::RegOp op(registry, system, messages);
    op.Key(path);
    const vcit::DynamicValue v = op.Value(wanted);
    firstMs.push_back((now() - t) * 1000);
    if (v.toText() != expected) {
      std::fprintf(stderr, "the first read gave \"%s\"\n", v.toText().c_str());
      return 1;
    }
  }
  std::sort(firstMs.begin(), firstMs.end());

  vcit::RegOp op(registry, system, messages);
  op.Key(path);
  op.Value(wanted);
  std::vector<std::string> names;
  for (int i = 0; i < 64; ++i) names.push_back("value" + name(i * (values / 64)).substr(5));
  std::size_t found = 0;
  const double t = now(), cpu = threadCpuTime();
  for (long i = 0; i < cachedReads; ++i)
    found += op.Value(names[static_cast<std::size_t>(i) % names.size()]).isEmpty() ? 0 : 1;
  const double cachedNs = (now() - t) * 1e9 / static_cast<double>(cachedReads);
  const double cachedCpuNs = (threadCpuTime() - cpu) * 1e9 / static_cast<double>(cachedReads);
  SHDeleteKeyA(HKEY_CURRENT_USER, path);
  if (found != static_cast<std::size_t>(cachedReads)) {
    std::fprintf(stderr, "cached reads missed values\n");
    return 1;
  }
  const double first = firstMs[firstMs.size() / 2];
  std::printf(
      "RESULT regop_wine values=%d first_ms=%.3f cached_ns=%.1f ratio=%.0f cached_cpu_ns=%.1f\n",
      values, first, cachedNs, first * 1e6 / cachedNs, cachedCpuNs);
  return 0;
}
