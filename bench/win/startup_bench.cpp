// Start-up under Wine: from CreateProcess to the launcher window shown, with 16 packages and a
// state file of N records, against one program of ours that opens the launcher's window with
// its controls but none of its logic (its own window), and against one that only opens a
// window. With more records than packages the packages' records come last, so that a lookup
// that scans the file reads all of it. Every program is started the same way, under the same
// wineserver, in rounds; within a round each launcher start is followed at once by a start of
// its own window, so that a pair meets one load of a shared machine, and the figure is the
// median of the per-pair ratios.
//
// With --zips FOLDER ENTRIES, a round also starts the launcher with 16 packages of ENTRIES zip
// entries each (FOLDER\many) and then with 16 packages of one entry each (FOLDER\one), with a
// state file of their 16 records (bench/make-zip-packages writes both sets).
//
//   bench_startup --launcher EXE --bare EXE --controls EXE --work FOLDER [--records N]...
//                 [--zips FOLDER ENTRIES] [--small] [--runs N]
//
// --records N: a state file of N records (given more than once, one program folder each);
// without it, 16 and 32767. --runs: the rounds (pairs), 7 by default. --small: one round, and
// 16 and 1,000 records by default (the build's quick run).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "paired.h"
#include "support/e2e_files.h"
#include "support/e2e_measures.h"
#include "support/e2e_process.h"
#include "support/e2e_registry.h"

using namespace vcit::e2e;

namespace {

constexpr int kPackages = 16;

// Milliseconds until the program's main window shows; negative when it failed.
double timeStart(const std::string& exe, const std::string& folder, std::string& failure) {
  const double start = now();
  Process child(exe, {}, folder);
  std::string box;
  // Polled often: this wait is what is timed.
  HWND window = child.waitForMainWindow(60000, &box, 2);
  const double ms = (now() - start) * 1000;
  if (!window) failure = box.empty() ? "no window within 60 s" : "message box: " + box;
  child.close();
  return window ? ms : -1;
}

std::string packageName(int p) {
  char name[40];
  std::snprintf(name, sizeof name, "package%02d.pk3", p);
  return name;
}

// A program folder with the launcher, 16 packages and a state file of `records` records: the
// packages' own records last (or the first `records` of them when there are fewer). The
// packages are copied from `packages` when given, else each is a few bytes of text.
void makeProgram(const std::string& program, const std::string& launcher, int records,
                 const std::string& packages = {}) {
  removeTree(program);
  createFolders(program + "\\Mods");
  copyFile(launcher, program + "\\VCITLauncher.exe");
  std::string state;
  state.reserve(static_cast<std::size_t>(records) * 51);
  for (int r = 0; r < records - kPackages; ++r) {
    char name[40];
    std::snprintf(name, sizeof name, "retired-package-%05d.pk3", r);
    state += stateRecord(name, r % 2);
  }
  for (int p = 0; p < kPackages; ++p) {
    const std::string file = program + "\\Mods\\" + packageName(p);
    if (packages.empty())
      writeFile(file, "package " + std::to_string(p));
    else
      copyFile(packages + "\\" + packageName(p), file);
    if (p < records) state += stateRecord(packageName(p), p % 2);
  }
  writeFile(program + "\\Active.dat", state);
}

}  // namespace

int main(int argc, char** argv) {
  std::string launcher, bare, controls, work, zips;
  int zipEntries = 0;
  std::vector<int> records;
  bool small = false;
  int runs = 7;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--launcher" && i + 1 < argc)
      launcher = windowsPath(argv[++i]);
    else if (a == "--bare" && i + 1 < argc)
      bare = windowsPath(argv[++i]);
    else if (a == "--controls" && i + 1 < argc)
      controls = windowsPath(argv[++i]);
    else if (a == "--work" && i + 1 < argc)
      work = windowsPath(argv[++i]);
    else if (a == "--runs" && i + 1 < argc)
      runs = std::atoi(argv[++i]);
    else if (a == "--records" && i + 1 < argc)
      records.push_back(std::max(0, std::atoi(argv[++i])));
    else if (a == "--zips" && i + 2 < argc) {
      zips = windowsPath(argv[++i]);
      zipEntries = std::atoi(argv[++i]);
    } else if (a == "--small")
      small = true;
  }
  if (launcher.empty() || bare.empty() || controls.empty() || work.empty()) {
    std::fprintf(stderr,
                 "usage: bench_startup --launcher EXE --bare EXE --controls EXE --work FOLDER "
                 "[--records N]... [--zips FOLDER ENTRIES] [--small] [--runs N]\n");
    return 2;
  }
  if (small) runs = 1;
  if (records.empty()) records = small ? std::vector<int>{16, 1000} : std::vector<int>{16, 32767};
  try {
    std::vector<std::string> programs;
    for (std::size_t k = 0; k < records.size(); ++k) {
      programs.push_back(work + "\\startup-program-" + std::to_string(k));
      makeProgram(programs.back(), launcher, records[k]);
    }
    const std::string game = work + "\\startup-game";
    removeTree(game);
    createFolders(game + "\\main");
    const BasePath basePath(game);

    // The launcher with the zip packages: 16 of many entries, then 16 of one entry.
    std::vector<std::string> zipPrograms;
    if (!zips.empty())
      for (const char* set : {"many", "one"}) {
        zipPrograms.push_back(work + "\\startup-zips-" + set);
        makeProgram(zipPrograms.back(), launcher, kPackages, zips + "\\" + set);
      }

    std::string failure;
    auto start = [&](const std::string& program) {
      return timeStart(program + "\\VCITLauncher.exe", program, failure);
    };
    // One start of each, untimed, so that all find the server and the files warm.
    for (const auto& program : programs) start(program);
    for (const auto& program : zipPrograms) start(program);
    timeStart(bare, work, failure);
    timeStart(controls, work, failure);
    std::vector<vcit::bench::Pairs> toControls(programs.size());
    vcit::bench::Pairs zipsPaired;  // many entries against one
    std::vector<double> bareMs;
    std::vector<double> controlsMs;
    for (int r = 0; r < runs && failure.empty(); ++r) {
      for (std::size_t k = 0; k < programs.size(); ++k) {
        const double l = start(programs[k]);
        const double c = timeStart(controls, work, failure);
        toControls[k].add(l, c);
        controlsMs.push_back(c);
      }
      bareMs.push_back(timeStart(bare, work, failure));
      if (!zipPrograms.empty()) {
        const double many = start(zipPrograms[0]);
        zipsPaired.add(many, start(zipPrograms[1]));
      }
    }
    for (const auto& program : programs) removeTree(program);
    for (const auto& program : zipPrograms) removeTree(program);
    removeTree(game);
    if (!failure.empty()) {
      std::fprintf(stderr, "start-up failed: %s\n", failure.c_str());
      return 1;
    }
    const double b = vcit::bench::spread(bareMs).median;
    const double c = vcit::bench::spread(controlsMs).median;
    for (std::size_t k = 0; k < programs.size(); ++k) {
      const double l = toControls[k].ours().median;
      std::printf(
          "RESULT startup records=%d packages=%d runs=%d launcher_ms=%.1f bare_ms=%.1f "
          "ratio=%.2f controls_ms=%.1f\n",
          records[k], kPackages, runs, l, b, l / b, c);
      std::printf("RESULT startup_paired records=%d %s\n", records[k],
                  toControls[k].result("launcher_ms", "controls_ms").c_str());
    }
    std::printf("RESULT startup_controls runs=%d controls_ms=%.1f bare_ms=%.1f ratio=%.2f\n", runs,
                c, b, c / b);
    if (!zipPrograms.empty()) {
      const vcit::bench::Spread r = zipsPaired.ratio();
      std::printf(
          "RESULT startup_conflicts packages=%d entries=%d ratio=%.3f pairs=%d "
          "min_ratio=%.3f max_ratio=%.3f%s%s\n",
          kPackages, zipEntries, r.median, zipsPaired.count(), r.min, r.max,
          vcit::bench::fields("many_ms", zipsPaired.ours()).c_str(),
          vcit::bench::fields("one_ms", zipsPaired.yardstick()).c_str());
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_startup: %s\n", e.what());
    return 1;
  }
}
