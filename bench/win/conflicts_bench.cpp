// A hover over a row's name box under Wine: the time until the row's text of what its package
// shares is ready, from a cold start of the reading (a new reading of every package's zip
// directory through the real Win32 file system, as the launcher's first hover or screen-reader
// look does), for each of 16 rows. The packages: 16 of 10,000 entries each, a tenth of their
// paths held by every package, a tenth shared with the next package, the rest their own.
//
//   bench_conflicts --work FOLDER [--entries N] [--small]     (--small: 500 entries)
//
// Prints each row's time (the median of three readings) and
//   RESULT conflicts_hover packages=16 entries=N ms=X
// with the slowest row's.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "launcher/package_conflicts.h"
#include "platform/win32/win32_files.h"
#include "support/e2e_files.h"
#include "support/e2e_measures.h"
#include "support/zip_builder.h"

using namespace vcit::e2e;

namespace {

constexpr int kPackages = 16;
constexpr int kReadings = 3;

std::string number(int n, int width) {
  std::string s = std::to_string(n);
  return std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(s.size()))),
                     '0') +
         s;
}

std::vector<std::string> namesOf(int package, int entries) {
  std::vector<std::string> names;
  const int common = entries / 10;
  for (int i = 0; i < entries; ++i) {
    if (i < common)
      names.push_back("textures/common/wall" + number(i, 5) + ".tga");
    else if (i < 2 * common)  // the same paths as the next package's first tenth of its own
      names.push_back("maps/set" + number(package, 2) + "/part" + number(i, 5) + ".bsp");
    else if (i < 3 * common && package > 0)
      names.push_back("maps/set" + number(package - 1, 2) + "/part" + number(i - common, 5) +
                      ".bsp");
    else
      names.push_back("models/p" + number(package, 2) + "/m" + number(i, 5) + ".md3");
  }
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  std::string work;
  int entries = 10000;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--work" && i + 1 < argc)
      work = windowsPath(argv[++i]);
    else if (a == "--entries" && i + 1 < argc)
      entries = std::atoi(argv[++i]);
    else if (a == "--small")
      entries = 500;
  }
  if (work.empty() || entries < 10) {
    std::fprintf(stderr, "usage: bench_conflicts --work FOLDER [--entries N] [--small]\n");
    return 2;
  }
  const std::string mods = work + "\\conflicts-mods\\";
  createFolders(mods);
  std::vector<std::string> packages;
  for (int p = 0; p < kPackages; ++p) {
    packages.push_back("pack" + number(p, 2) + ".pk3");
    writeFile(mods + packages.back(), vcit::testing::zipOfNames(namesOf(p, entries)));
  }

  vcit::platform::Win32FileSystem files;
  const std::vector<bool> marks(kPackages, true);
  double slowest = 0;
  std::string sample;
  for (int row = 0; row < kPackages; ++row) {
    std::vector<double> ms;
    for (int k = 0; k < kReadings; ++k) {
      const double t = now();
      const vcit::launcher::PackageConflicts conflicts(files, mods, packages);
      const std::string text = conflicts.text(static_cast<std::size_t>(row), marks);
      ms.push_back((now() - t) * 1000);
      if (text.empty()) {
        std::fprintf(stderr, "row %d: no text\n", row);
        return 1;
      }
      if (row == 1) sample = text;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("row %2d: %.1f ms (%.1f..%.1f)\n", row, ms[kReadings / 2], ms.front(), ms.back());
    slowest = std::max(slowest, ms[kReadings / 2]);
  }
  std::printf("row 1's text:\n%s\n", sample.c_str());
  std::printf("RESULT conflicts_hover packages=%d entries=%d ms=%.1f\n", kPackages, entries,
              slowest);
  return 0;
}
