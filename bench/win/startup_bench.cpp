// Start-up under Wine: from CreateProcess to the launcher window shown, with 16 packages and
// a state file of 32767 records (the packages' records last, so that every lookup reads the
// whole file), against a program of ours that only opens a window. Both are started the same
// way, alternately, under the same wineserver.
//
//   bench_startup --launcher EXE --bare EXE --work FOLDER [--small] [--runs N]
//
// --small: 1,000 records and one run each (the build's quick run).
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "win/bench_util.h"

using namespace vcit::bench;

namespace {

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// Milliseconds until the program's main window shows; negative when it failed.
double timeStart(const std::string& exe, const std::string& folder, std::string& failure) {
  const double start = now();
  Child child(exe, folder);
  std::string box;
  HWND window = waitForMainWindow(child.id(), 60000, &box);
  const double ms = (now() - start) * 1000;
  if (!window) failure = box.empty() ? "no window within 60 s" : "message box: " + box;
  child.close();
  return window ? ms : -1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string launcher, bare, work;
  int records = 32767;
  int runs = 7;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--launcher" && i + 1 < argc)
      launcher = windowsPath(argv[++i]);
    else if (a == "--bare" && i + 1 < argc)
      bare = windowsPath(argv[++i]);
    else if (a == "--work" && i + 1 < argc)
      work = windowsPath(argv[++i]);
    else if (a == "--runs" && i + 1 < argc)
      runs = std::atoi(argv[++i]);
    else if (a == "--small")
      records = 1000, runs = 1;
  }
  if (launcher.empty() || bare.empty() || work.empty()) {
    std::fprintf(stderr,
                 "usage: bench_startup --launcher EXE --bare EXE --work FOLDER [--small]\n");
    return 2;
  }
  try {
    const std::string program = work + "\\startup-program";
    const std::string game = work + "\\startup-game";
    removeTree(program);
    removeTree(game);
    makeFolders(program + "\\Mods");
    makeFolders(game + "\\main");
    if (!CopyFileW(wide(launcher).c_str(), wide(program + "\\VCITLauncher.exe").c_str(), FALSE))
      throw std::runtime_error("cannot copy the launcher");
    std::string state;
    state.reserve(static_cast<std::size_t>(records) * 51);
    for (int r = 0; r < records - 16; ++r) {
      char name[40];
      std::snprintf(name, sizeof name, "retired-package-%05d.pk3", r);
      state += stateRecord(name, r % 2);
    }
    for (int p = 0; p < 16; ++p) {
      char name[40];
      std::snprintf(name, sizeof name, "package%02d.pk3", p);
      writeFile(program + "\\Mods\\" + name, "package " + std::to_string(p));
      state += stateRecord(name, p % 2);
    }
    writeFile(program + "\\Active.dat", state);
    setBasePath(game);

    std::string failure;
    // One start of each, untimed, so that both find the server and the files warm.
    timeStart(program + "\\VCITLauncher.exe", program, failure);
    timeStart(bare, work, failure);
    std::vector<double> launcherMs, bareMs;
    for (int r = 0; r < runs && failure.empty(); ++r) {
      launcherMs.push_back(timeStart(program + "\\VCITLauncher.exe", program, failure));
      bareMs.push_back(timeStart(bare, work, failure));
    }
    removeTree(program);
    removeTree(game);
    if (!failure.empty()) {
      std::fprintf(stderr, "start-up failed: %s\n", failure.c_str());
      return 1;
    }
    const double l = median(launcherMs), b = median(bareMs);
    std::printf(
        "RESULT startup records=%d packages=16 runs=%d launcher_ms=%.1f bare_ms=%.1f ratio=%.2f\n",
        records, runs, l, b, l / b);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_startup: %s\n", e.what());
    return 1;
  }
}
