// Start-up under Wine: from CreateProcess to the launcher window shown, with 16 packages and a
// state file of N records, against a program of ours that only opens a window, and against
// one that opens the launcher's window with its controls but none of its logic. With more
// records than packages the packages' records come last, so that a lookup that scans the file
// reads all of it. Every program folder and both yardsticks are started the same way, in
// turn, under the same wineserver, so the ratios of one run share its load.
//
//   bench_startup --launcher EXE --bare EXE --controls EXE --work FOLDER [--records N]...
//                 [--small] [--runs N]
//
// --records N: a state file of N records (given more than once, one program folder each);
// without it, 16 and 32767. --small: one run each, and 16 and 1,000 records by default (the
// build's quick run).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/e2e_files.h"
#include "support/e2e_measures.h"
#include "support/e2e_process.h"
#include "support/e2e_registry.h"

using namespace vcit::e2e;

namespace {

constexpr int kPackages = 16;

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

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
// packages' own records last (or the first `records` of them when there are fewer).
void makeProgram(const std::string& program, const std::string& launcher, int records) {
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
    writeFile(program + "\\Mods\\" + packageName(p), "package " + std::to_string(p));
    if (p < records) state += stateRecord(packageName(p), p % 2);
  }
  writeFile(program + "\\Active.dat", state);
}

}  // namespace

int main(int argc, char** argv) {
  std::string launcher, bare, controls, work;
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
    else if (a == "--small")
      small = true;
  }
  if (launcher.empty() || bare.empty() || controls.empty() || work.empty()) {
    std::fprintf(stderr,
                 "usage: bench_startup --launcher EXE --bare EXE --controls EXE --work FOLDER "
                 "[--records N]... [--small] [--runs N]\n");
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

    std::string failure;
    // One start of each, untimed, so that all find the server and the files warm.
    for (const auto& program : programs)
      timeStart(program + "\\VCITLauncher.exe", program, failure);
    timeStart(bare, work, failure);
    timeStart(controls, work, failure);
    std::vector<std::vector<double>> launcherMs(programs.size());
    std::vector<double> bareMs;
    std::vector<double> controlsMs;
    for (int r = 0; r < runs && failure.empty(); ++r) {
      for (std::size_t k = 0; k < programs.size(); ++k)
        launcherMs[k].push_back(
            timeStart(programs[k] + "\\VCITLauncher.exe", programs[k], failure));
      bareMs.push_back(timeStart(bare, work, failure));
      controlsMs.push_back(timeStart(controls, work, failure));
    }
    for (const auto& program : programs) removeTree(program);
    removeTree(game);
    if (!failure.empty()) {
      std::fprintf(stderr, "start-up failed: %s\n", failure.c_str());
      return 1;
    }
    const double b = median(bareMs);
    const double c = median(controlsMs);
    for (std::size_t k = 0; k < programs.size(); ++k) {
      const double l = median(launcherMs[k]);
      std::printf(
          "RESULT startup records=%d packages=%d runs=%d launcher_ms=%.1f bare_ms=%.1f "
          "ratio=%.2f controls_ms=%.1f ratio_to_controls=%.2f\n",
          records[k], kPackages, runs, l, b, l / b, c, l / c);
    }
    std::printf("RESULT startup_controls runs=%d controls_ms=%.1f bare_ms=%.1f ratio=%.2f\n", runs,
                c, b, c / b);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_startup: %s\n", e.what());
    return 1;
  }
}
