// Fault injection against the real launcher under Wine: Apply of large packages killed hard
// (TerminateProcess) at many moments, a full disk, a read-only and a locked target. After
// every fault the game's main folder must hold no partly written package (each .pk3 there is
// byte-identical to its source or to what was there before), the state file must be made of
// whole records, and after a kill every row must show its old mark or the one it was given
// (counted as lost marks otherwise).
//
//   fault_test --launcher EXE --work FOLDER [--kills N] [--packages P] [--size-mb S]
//              [--seed X] [--full-disk MAIN_FOLDER] [--small]
//
// --full-disk names a folder "main" on a small file system (tools/fault-test mounts one); the
// disk-full case is skipped without it. --small: 4 kills of 4 packages of 4 MB.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "launcher/control_ids.h"
#include "platform/win32/scoped_win.h"
#include "support/e2e_files.h"
#include "support/e2e_input.h"
#include "support/e2e_measures.h"
#include "support/e2e_message_boxes.h"
#include "support/e2e_pattern_files.h"
#include "support/e2e_process.h"
#include "support/e2e_registry.h"
#include "support/e2e_text.h"
#include "support/e2e_windows.h"

using namespace vcit::e2e;
namespace ids = vcit::launcher::ids;

namespace {

struct Counts {
  int runs = 0;
  int killedDuringApply = 0;
  int finishedBeforeKill = 0;
  int survived = 0;
  long packagesChecked = 0;
  long recordsChecked = 0;
  int leftoverPartials = 0;
  int tornPackages = 0;
  int lostMarks = 0;
  int pendingAfterKill = 0;  // kills after which the next start showed changes pending
  std::vector<std::string> failures;
};

std::string packageName(int i) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "package%02d.pk3", i);
  return buf;
}

bool endsWithPk3(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  });
  return ext == ".pk3";
}

// A launcher folder, a game folder, and the packages.
struct Setup {
  std::string launcher;
  std::string program;
  std::string game;
  std::string main;
  int packages = 0;
  std::uint64_t size = 0;
  std::optional<BasePath> basePath;

  std::string source(int i) const { return program + "\\Mods\\" + packageName(i); }
  std::string target(int i) const { return main + "\\" + packageName(i); }

  void prepare(const std::string& launcherExe, const std::string& work, const std::string& label,
               int count, std::uint64_t bytes, const std::string& mainFolder = "") {
    launcher = launcherExe;
    program = work + "\\" + label + "-program";
    // A main folder given (on a small file system) is named "main", as the launcher wants.
    game = mainFolder.empty() ? work + "\\" + label + "-game"
                              : mainFolder.substr(0, mainFolder.rfind('\\'));
    main = game + "\\main";
    packages = count;
    size = bytes;
    removeTree(program);
    // The main folder given is where a file system is mounted: emptied, not removed.
    if (mainFolder.empty())
      removeTree(game);
    else
      emptyFolder(main);
    createFolders(program + "\\Mods");
    createFolders(main);
    copyFile(launcher, program + "\\VCITLauncher.exe");
    for (int i = 0; i < packages; ++i)
      writePattern(source(i), size, static_cast<std::uint32_t>(1000 + i));
    basePath.emplace(game);
  }

  void writeMarks(const std::vector<int>& marks) const {
    std::string state;
    for (int i = 0; i < packages; ++i)
      state += stateRecord(packageName(i), marks[static_cast<std::size_t>(i)]);
    writeFile(program + "\\Active.dat", state);
  }

  void cleanup() const {
    removeTree(program);
    removeTree(game);
  }
};

// The launcher started with its window up: the Apply button and a check box to click.
struct Running {
  Process child;
  HWND window = nullptr;
  HWND apply = nullptr;
  HWND checkBox = nullptr;
  std::vector<HWND> rows;  // the check boxes, top to bottom

  explicit Running(const Setup& s) : child(s.program + "\\VCITLauncher.exe") {
    std::string box;
    window = child.waitForMainWindow(30000, &box);
    if (!window)
      throw std::runtime_error("the launcher did not start: " + (box.empty() ? "no window" : box));
    apply = childById(window, ids::kApply);
    // The window shows 16 rows at the most.
    for (int i = 0; i < std::min(s.packages, 16); ++i)
      rows.push_back(childById(window, ids::kMarkBase + i));
    if (!rows.empty()) checkBox = rows.front();
    if (!apply || !checkBox || std::count(rows.begin(), rows.end(), nullptr) > 0)
      throw std::runtime_error("no Apply button or check box found");
  }

  // One click on each of these rows: their marks change, and a change is pending.
  void toggle(const std::vector<int>& which) {
    for (int i : which) clickButton(rows.at(static_cast<std::size_t>(i)));
    if (!waitUntil([&] { return IsWindowEnabled(apply) != FALSE; }, 10000))
      throw std::runtime_error("the Apply button did not become enabled");
  }

  // Two clicks on a check box: its mark is back as it was, but a change is pending.
  void makePending() {
    clickButton(checkBox);
    clickButton(checkBox);
    if (!waitUntil([&] { return IsWindowEnabled(apply) != FALSE; }, 10000))
      throw std::runtime_error("the Apply button did not become enabled");
  }
  bool applied() const { return !IsWindowEnabled(apply); }
};

// Whole packages and whole records: what must hold after any fault.
bool checkFolder(const Setup& s, const std::map<std::string, std::uint64_t>& before, Counts& counts,
                 const std::string& when) {
  bool ok = true;
  std::map<std::string, std::uint64_t> sources;
  for (int i = 0; i < s.packages; ++i) sources[packageName(i)] = hashFile(s.source(i));
  for (const auto& name : listFolder(s.main, "*")) {
    if (name.find(".vcit-partial") != std::string::npos) {
      ++counts.leftoverPartials;
      continue;
    }
    if (!endsWithPk3(name)) continue;
    const std::uint64_t h = hashFile(s.main + "\\" + name);
    ++counts.packagesChecked;
    const auto src = sources.find(name);
    const auto old = before.find(name);
    if ((src == sources.end() || src->second != h) && (old == before.end() || old->second != h)) {
      counts.failures.push_back(when + ": " + name + " is neither its source nor what was there (" +
                                std::to_string(fileSize(s.main + "\\" + name)) + " bytes)");
      ++counts.tornPackages;
      ok = false;
    }
  }
  const std::string state = readFile(s.program + "\\Active.dat");
  if (state.size() % 51 != 0) {
    counts.failures.push_back(when + ": the state file holds " + std::to_string(state.size()) +
                              " bytes");
    ok = false;
  }
  for (std::size_t at = 0; at + 51 <= state.size(); at += 51) {
    ++counts.recordsChecked;
    std::string name = state.substr(at, 50);
    name.erase(name.find_last_not_of(' ') + 1);
    const char mark = state[at + 50];
    if (!sources.count(name) || mark < '0' || mark > '2') {
      counts.failures.push_back(when + ": a broken record at byte " + std::to_string(at));
      ok = false;
      break;
    }
  }
  return ok;
}

// The mark a start-up shows for each package with this state file: the first record's, or 0.
int markAtStart(const std::string& state, const std::string& package) {
  for (std::size_t at = 0; at + 51 <= state.size(); at += 51) {
    std::string name = state.substr(at, 50);
    name.erase(name.find_last_not_of(' ') + 1);
    if (name == package) return state[at + 50] - '0';
  }
  return 0;
}

// Rows that show neither their old mark nor their new one at the next start.
bool checkMarks(const Setup& s, const std::vector<int>& before, const std::vector<int>& after,
                Counts& counts, const std::string& when) {
  const std::string state = readFile(s.program + "\\Active.dat");
  int lost = 0;
  for (int i = 0; i < s.packages; ++i) {
    const int shown = markAtStart(state, packageName(i));
    const auto at = static_cast<std::size_t>(i);
    if (shown != before[at] && shown != after[at]) ++lost;
  }
  counts.lostMarks += lost;
  if (lost > 0)
    counts.failures.push_back(when + ": " + std::to_string(lost) + " rows lost their marks");
  return lost == 0;
}

// Whether main holds what the state file's marks ask for: each marked package as its source,
// none of the others.
bool mainAgreesWithMarks(const Setup& s) {
  const std::string state = readFile(s.program + "\\Active.dat");
  for (int i = 0; i < s.packages; ++i) {
    const bool marked = markAtStart(state, packageName(i)) == 1;
    if (marked ? hashFile(s.target(i)) != hashFile(s.source(i)) : fileExists(s.target(i)))
      return false;
  }
  return true;
}

// After a kill once Apply had replaced the state file, the next start shows nothing pending
// only where main agrees with the marks it shows.
void checkNextStart(const Setup& s, Counts& counts, const std::string& when) {
  Running next(s);
  const bool applied = next.applied();
  next.child.close();
  if (!applied)
    ++counts.pendingAfterKill;
  else if (!mainAgreesWithMarks(s))
    counts.failures.push_back(when +
                              ": the next start shows nothing pending, but main does not "
                              "agree with its marks");
}

std::map<std::string, std::uint64_t> snapshot(const std::string& folder) {
  std::map<std::string, std::uint64_t> hashes;
  for (const auto& name : listFolder(folder, "*"))
    if (endsWithPk3(name)) hashes[name] = hashFile(folder + "\\" + name);
  return hashes;
}

void killTest(const std::string& launcher, const std::string& work, int kills, int packages,
              std::uint64_t size, std::uint32_t seed, Counts& counts) {
  Setup s;
  s.prepare(launcher, work, "kill", packages, size);
  std::mt19937 rng(seed);
  // Old versions of half the packages in the game folder, and a file Apply must leave alone.
  for (int i = 0; i < packages; i += 2)
    writePattern(s.target(i), size / 2 + 4096, static_cast<std::uint32_t>(5000 + i));
  writeFile(s.main + "\\other.pk3", "not ours");

  // How long one Apply takes here, to spread the kills over it: the second of two, as the
  // first also waits for the freshly written sources to reach the disk.
  std::vector<int> marks(static_cast<std::size_t>(packages), 1);
  s.writeMarks(marks);
  double full = 0;
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < packages; ++i)
      restamp(s.source(i), 77u + static_cast<std::uint32_t>(round * 131 + i));
    Running r(s);
    r.makePending();
    const double t = now();
    clickButton(r.apply);
    // Polled often: this wait is what is timed.
    if (!waitUntil([&] { return r.applied(); }, 600000, 2))
      throw std::runtime_error("Apply did not finish");
    full = now() - t;
    r.child.close();
  }
  std::printf("one Apply of %d x %llu MB: %.2f s\n", packages,
              static_cast<unsigned long long>(size >> 20), full);

  for (int k = 0; k < kills; ++k) {
    ++counts.runs;
    // New contents for every source, and a new set of marks: every row has work to do.
    for (int i = 0; i < packages; ++i)
      restamp(s.source(i), seed * 7919u + static_cast<std::uint32_t>(k * 131 + i));
    for (auto& m : marks) m = static_cast<int>(rng() % 4 == 0 ? 0 : 1);
    s.writeMarks(marks);
    const std::string written = readFile(s.program + "\\Active.dat");
    // A third of the rows, and at least one, get the other mark in the window: the state
    // file differs from this one once Apply has replaced it.
    std::vector<int> toggled, given = marks;
    for (int i = 0; i < packages; ++i)
      if (rng() % 3 == 0 || (i == packages - 1 && toggled.empty())) {
        toggled.push_back(i);
        given[static_cast<std::size_t>(i)] = 1 - marks[static_cast<std::size_t>(i)];
      }
    const auto before = snapshot(s.main);
    const double delay = full * std::uniform_real_distribution<double>(0.0, 0.9)(rng);
    bool finished = false;
    {
      Running r(s);
      r.toggle(toggled);
      clickButton(r.apply);
      const double t = now();
      while (now() - t < delay) Sleep(1);
      finished = r.applied();
      r.child.terminate();
    }
    if (finished)
      ++counts.finishedBeforeKill;
    else
      ++counts.killedDuringApply;
    char when[64];
    std::snprintf(when, sizeof when, "kill %d at %.0f ms", k + 1, delay * 1000);
    const bool whole = checkFolder(s, before, counts, when);
    if (checkMarks(s, marks, given, counts, when) && whole) ++counts.survived;
    if (readFile(s.program + "\\Active.dat") != written) checkNextStart(s, counts, when);
  }

  // A last Apply that is left to finish puts everything right, leftovers of copies aside.
  for (auto& m : marks) m = 1;
  s.writeMarks(marks);
  {
    Running r(s);
    r.makePending();
    clickButton(r.apply);
    if (!waitUntil([&] { return r.applied(); }, 600000))
      throw std::runtime_error("the last Apply did not finish");
    r.child.close();
  }
  for (int i = 0; i < packages; ++i)
    if (hashFile(s.target(i)) != hashFile(s.source(i)))
      counts.failures.push_back("after the last Apply " + packageName(i) +
                                " differs from its source");
  if (!listFolder(s.main, "*.vcit-partial").empty())
    counts.failures.push_back("after the last Apply a temporary copy is left in main");
  if (readFile(s.main + "\\other.pk3") != "not ours")
    counts.failures.push_back("Apply touched other.pk3");
  s.cleanup();
}

// Apply with one target made unusable: the launcher reports `expected` ("61:", "70:", "75:")
// and the folder keeps whole packages; the Apply button stays enabled.
void faultCase(const std::string& name, Setup& s, const std::string& expected, Counts& counts) {
  ++counts.runs;
  const auto before = snapshot(s.main);
  std::string seen;
  bool stillPending = false;
  {
    Running r(s);
    r.makePending();
    clickButton(r.apply);
    if (const auto box = waitForMessageBox(r.child.id(), 120000)) {
      seen = box->text;
      answer(*box, IDOK);
    }
    stillPending = !r.applied();
    r.child.close();
  }
  bool ok = checkFolder(s, before, counts, name);
  if (seen.rfind(expected, 0) != 0) {
    counts.failures.push_back(name + ": expected a report \"" + expected + "...\", saw \"" + seen +
                              "\"");
    ok = false;
  }
  if (!stillPending) {
    counts.failures.push_back(name + ": Apply claims to have finished");
    ok = false;
  }
  std::printf("%-10s report \"%s\"\n", name.c_str(), seen.c_str());
  if (ok) ++counts.survived;
}

}  // namespace

int main(int argc, char** argv) {
  std::string launcher, work, fullDiskMain;
  int kills = 30, packages = 16;
  std::uint64_t sizeMb = 64;
  std::uint32_t seed = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--launcher" && i + 1 < argc)
      launcher = windowsPath(argv[++i]);
    else if (a == "--work" && i + 1 < argc)
      work = windowsPath(argv[++i]);
    else if (a == "--kills" && i + 1 < argc)
      kills = std::atoi(argv[++i]);
    else if (a == "--packages" && i + 1 < argc)
      packages = std::atoi(argv[++i]);
    else if (a == "--size-mb" && i + 1 < argc)
      sizeMb = std::strtoull(argv[++i], nullptr, 10);
    else if (a == "--seed" && i + 1 < argc)
      seed = static_cast<std::uint32_t>(std::atoi(argv[++i]));
    else if (a == "--full-disk" && i + 1 < argc)
      fullDiskMain = windowsPath(argv[++i]);
    else if (a == "--small")
      kills = 4, packages = 4, sizeMb = 4;
  }
  if (launcher.empty() || work.empty()) {
    std::fprintf(stderr, "usage: fault_test --launcher EXE --work FOLDER [--kills N] ...\n");
    return 2;
  }
  Counts counts;
  try {
    killTest(launcher, work, kills, packages, sizeMb << 20, seed, counts);
    const Counts afterKills = counts;

    Setup s;
    s.prepare(launcher, work, "target", 4, 1 << 20);
    std::vector<int> all(4, 1);
    s.writeMarks(all);
    for (int i = 0; i < 4; ++i) writePattern(s.target(i), 4096, static_cast<std::uint32_t>(70 + i));
    SetFileAttributesW(wide(s.target(1)).c_str(), FILE_ATTRIBUTE_READONLY);
    faultCase("read-only", s, "75:", counts);
    SetFileAttributesW(wide(s.target(1)).c_str(), FILE_ATTRIBUTE_NORMAL);
    {
      // Another program holds the target open without sharing it.
      const vcit::platform::win32::UniqueHandle held(
          CreateFileW(wide(s.target(2)).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr));
      faultCase("locked", s, "70:", counts);
    }
    s.cleanup();

    if (!fullDiskMain.empty()) {
      Setup d;
      // More than the small file system holds: the copies fill it part-way.
      d.prepare(launcher, work, "full", 6, 24u << 20, fullDiskMain);
      std::vector<int> marks(6, 1);
      d.writeMarks(marks);
      faultCase("disk full", d, "61:", counts);
      const auto partials = listFolder(fullDiskMain, "*.vcit-partial");
      if (!partials.empty())
        counts.failures.push_back("disk full: a temporary copy was left behind");
      removeTree(d.program);
      emptyFolder(fullDiskMain);
    }
    std::printf(
        "RESULT fault_kill runs=%d killed_during_apply=%d finished_before_kill=%d "
        "survived=%d packages_checked=%ld records_checked=%ld leftover_partials=%d "
        "pending_after_kill=%d\n",
        afterKills.runs, afterKills.killedDuringApply, afterKills.finishedBeforeKill,
        afterKills.survived, afterKills.packagesChecked, afterKills.recordsChecked,
        afterKills.leftoverPartials, afterKills.pendingAfterKill);
    std::printf("RESULT fault_targets runs=%d survived=%d\n", counts.runs - afterKills.runs,
                counts.survived - afterKills.survived);
    std::printf("kills: %d (%d during Apply), torn packages: %d, lost marks: %d\n", afterKills.runs,
                afterKills.killedDuringApply, afterKills.tornPackages, afterKills.lostMarks);
  } catch (const std::exception& e) {
    counts.failures.push_back(std::string("stopped: ") + e.what());
  }
  for (const auto& f : counts.failures) std::printf("FAIL %s\n", f.c_str());
  return counts.failures.empty() ? 0 : 1;
}
