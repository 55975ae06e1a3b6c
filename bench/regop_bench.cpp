// RegOp reading one value of a key with many values, on the fake registry: the first read
// (open, enumeration of every value into the cache) against reads from the cache.
//
//   regop_bench [--small] [Google Benchmark flags]
//
// --small uses 200 values instead of 10,000 (the build's quick run). The last line gives the
// ratio of the two, measured in this run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_system.h"
#include "registry/reg_op.h"

namespace {

namespace reg = vcit::platform::reg;
constexpr const char* kKey = "Software\\VCITBench\\Many";

int valueCount = 10000;

std::string valueName(int i) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "Value%05d", i);
  return buf;
}

struct Fixture {
  vcit::platform::FakeRegistry registry;
  vcit::platform::FakeSystem system;
  vcit::platform::CallLog log;
  vcit::platform::FakeMessageBoxes messages{log};

  Fixture() {
    reg::Key key = 0;
    registry.createKey(reg::kCurrentUser, kKey, "", 0, reg::kKeyAllAccess, key);
    for (int i = 0; i < valueCount; ++i)
      registry.setValue(key, valueName(i), reg::kTypeSz,
                        "C:\\Games\\Valor Crest\\data " + std::to_string(i) + '\0');
    registry.closeKey(key);
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

// A new object each time: open, enumerate all values, then the lookup.
void BM_FirstRead(benchmark::State& state) {
  Fixture& f = fixture();
  const std::string name = valueName(valueCount / 2);
  for (auto _ : state) {
    vcit::RegOp op(f.registry, f.system, f.messages);
    op.Key(kKey);
    benchmark::DoNotOptimize(op.Value(name));
  }
  state.counters["values"] = valueCount;
}

// One object whose cache is filled: lookups by name in other letter case.
void BM_CachedRead(benchmark::State& state) {
  Fixture& f = fixture();
  vcit::RegOp op(f.registry, f.system, f.messages);
  op.Key(kKey);
  op.Value(valueName(0));
  std::vector<std::string> names;
  for (int i = 0; i < 64; ++i)
    names.push_back("value" + valueName(i * (valueCount / 64)).substr(5));
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(op.Value(names[i++ % names.size()]));
  state.counters["values"] = valueCount;
}

BENCHMARK(BM_FirstRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CachedRead)->Unit(benchmark::kNanosecond);

// Keeps each run's time per iteration so that the ratio can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}  // no colours: the output is parsed
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& r : runs) {
      nanoseconds[r.benchmark_name()] = r.GetAdjustedRealTime() * multiplier(r.time_unit);
      cpuNanoseconds[r.benchmark_name()] = r.GetAdjustedCPUTime() * multiplier(r.time_unit);
    }
  }
  static double multiplier(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kNanosecond:
        return 1;
      case benchmark::kMicrosecond:
        return 1e3;
      case benchmark::kMillisecond:
        return 1e6;
      default:
        return 1e9;
    }
  }
  std::map<std::string, double> nanoseconds;
  // The processor time: on a loaded machine the wall-clock time also counts other programs.
  std::map<std::string, double> cpuNanoseconds;
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--small") == 0)
      valueCount = 200;
    else
      args.push_back(argv[i]);
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double first = reporter.nanoseconds["BM_FirstRead"];
  const double cached = reporter.nanoseconds["BM_CachedRead"];
  if (first > 0 && cached > 0)
    std::printf(
        "RESULT regop_native values=%d first_ms=%.3f cached_ns=%.1f ratio=%.0f "
        "cached_cpu_ns=%.1f\n",
        valueCount, first / 1e6, cached, first / cached, reporter.cpuNanoseconds["BM_CachedRead"]);
  benchmark::Shutdown();
  return 0;
}
