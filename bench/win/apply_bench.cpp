// Apply under Wine through the launcher's own logic (frmLauncher) on the real Win32 file
// system and registry; only the desktop services (message boxes, clipboard) are stand-ins,
// as Apply uses none but the failure report. Three figures:
//   - a full Apply of 16 marked packages into an empty game folder, N times (--pairs);
//   - with --yardstick, each of those paired with `cp` + `sync` of the same files timed by
//     the caller (bench/win/apply-paired): after each Apply this program deletes the copies,
//     writes FOLDER\pair-K.wait and waits for FOLDER\pair-K.ms (the caller's time in
//     milliseconds, renamed into place), so that Apply and cp alternate, A B A B;
//   - Apply after one changed mark (one package marked again after it was taken out): the
//     bytes written, with the goal of one package, not all 16.
//
//   bench_apply --work FOLDER [--size-mb N] [--small] [--pairs N] [--yardstick]
//
// --small: 1 MB packages. --keep leaves the packages in FOLDER\apply-program\Mods after the
// run, and --clean removes them.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "launcher/launcher.h"
#include "paired.h"
#include "platform/fake/fake_desktop.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_progress.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "support/e2e_files.h"
#include "support/e2e_measures.h"
#include "support/e2e_pattern_files.h"
#include "support/e2e_registry.h"
#include "support/e2e_text.h"

using namespace vcit::e2e;
namespace platform = vcit::platform;

namespace {

// Seconds spent in the file system's calls, by kind, over one Apply.
struct Spent {
  double stage = 0, flush = 0, commit = 0, other = 0;
};

template <class Call>
auto timed(double& into, Call call) {
  const double t = now();
  struct Add {
    double& into;
    double t;
    ~Add() { into += now() - t; }
  } add{into, t};
  return call();
}

class TimedCopy : public platform::StagedCopy {
 public:
  TimedCopy(std::unique_ptr<platform::StagedCopy> copy, Spent& spent)
      : copy_(std::move(copy)), spent_(spent) {}
  void flush(const std::function<void()>& whileWaiting) override {
    timed(spent_.flush, [&] { copy_->flush(whileWaiting); });
  }
  void commit() override {
    timed(spent_.commit, [&] { copy_->commit(); });
  }

 private:
  std::unique_ptr<platform::StagedCopy> copy_;
  Spent& spent_;
};

// The Win32 file system, counting what its copies write and timing its calls.
class CountingFiles : public platform::Win32FileSystem {
 public:
  std::unique_ptr<platform::StagedCopy> stageCopy(
      const std::string& source, const std::string& target, const platform::CopyProgress& progress,
      const std::function<void()>& beforeWriting) override {
    auto copy = timed(spent.stage, [&] {
      return Win32FileSystem::stageCopy(source, target, progress, beforeWriting);
    });
    ++copies;
    if (const auto f = Win32FileSystem::facts(source)) bytesCopied += f->size;
    return std::make_unique<TimedCopy>(std::move(copy), spent);
  }
  std::optional<platform::FileFacts> facts(const std::string& path) override {
    return timed(spent.other, [&] { return Win32FileSystem::facts(path); });
  }
  void deleteFile(const std::string& path) override {
    timed(spent.other, [&] { Win32FileSystem::deleteFile(path); });
  }
  std::unique_ptr<platform::RecordFile> openRecordFile(const std::string& path,
                                                       std::int32_t length) override {
    return timed(spent.other, [&] { return Win32FileSystem::openRecordFile(path, length); });
  }
  int copies = 0;
  std::uint64_t bytesCopied = 0;
  Spent spent;
};

class ProgramFolderSystem : public platform::Win32System {
 public:
  explicit ProgramFolderSystem(std::string folder) : folder_(std::move(folder)) {}
  std::string programDirectory() override { return folder_; }

 private:
  std::string folder_;
};

struct Measured {
  double ms = 0;
  int copies = 0;
  std::uint64_t bytesCopied = 0;
  std::optional<std::uint64_t> bytesWritten;  // by the process, all writes
  Spent spent;
};

// The caller's time of `cp` + `sync` for pair K, in milliseconds (see the top of this file).
double yardstickMs(const std::string& work, int pair) {
  const std::string base = work + "\\pair-" + std::to_string(pair);
  writeFile(base + ".wait", "Apply done\n");
  constexpr int kTimeoutMs = 15 * 60 * 1000;
  const std::string answer = waitForRenamedFile(base + ".ms", kTimeoutMs);
  DeleteFileW(wide(base + ".ms").c_str());
  const double ms = std::strtod(answer.c_str(), nullptr);
  if (!(ms > 0))
    throw std::runtime_error("no time of cp + sync for pair " + std::to_string(pair) +
                             (answer.empty() ? " within 15 minutes" : ": " + answer));
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  std::string work;
  std::uint64_t sizeMb = 256;
  bool clean = false;
  bool keep = false;
  bool yardstick = false;
  int pairs = 5;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--work" && i + 1 < argc)
      work = windowsPath(argv[++i]);
    else if (a == "--size-mb" && i + 1 < argc)
      sizeMb = std::strtoull(argv[++i], nullptr, 10);
    else if (a == "--small")
      sizeMb = 1;
    else if (a == "--clean")
      clean = true;
    else if (a == "--keep")
      keep = true;
    else if (a == "--yardstick")
      yardstick = true;
    else if (a == "--pairs" && i + 1 < argc)
      pairs = std::max(1, std::atoi(argv[++i]));
  }
  if (work.empty()) {
    std::fprintf(
        stderr,
        "usage: bench_apply --work FOLDER [--size-mb N] [--small] [--pairs N] [--yardstick] "
        "[--keep | --clean]\n");
    return 2;
  }
  const std::string program = work + "\\apply-program";
  const std::string game = work + "\\apply-game";
  if (clean) {
    removeTree(program);
    removeTree(game);
    return 0;
  }
  try {
    removeTree(program);
    removeTree(game);
    createFolders(program + "\\Mods");
    createFolders(game + "\\main");
    constexpr int kPackages = 16;
    auto name = [](int i) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "package%02d.pk3", i);
      return std::string(buf);
    };
    for (int i = 0; i < kPackages; ++i)
      writePattern(program + "\\Mods\\" + name(i), sizeMb << 20, static_cast<std::uint32_t>(i + 1));
    const BasePath basePath(game);

    platform::Win32Registry registry;
    CountingFiles files;
    ProgramFolderSystem system(program);
    platform::CallLog log;
    platform::FakeMessageBoxes messages(log);
    platform::FakeClipboard clipboard(log);
    platform::FakeShell shell(log);
    platform::FakeKeyboard keyboard(log);
    platform::FakeEventPump events(log);
    platform::FakeProgramStarter programs(log);
    platform::Win32Progress progress;
    platform::Platform services{registry, files,  messages, clipboard, shell,
                                keyboard, events, programs, system,    progress};

    vcit::frmLauncher launcher(services);
    launcher.Form_Load();
    if (launcher.ModCount != kPackages || !messages.shown().empty())
      throw std::runtime_error("start-up did not list the packages");

    auto apply = [&] {
      const int copiesBefore = files.copies;
      const std::uint64_t bytesBefore = files.bytesCopied;
      const auto writtenBefore = bytesWrittenByProcess();
      files.spent = {};
      const double t = now();
      launcher.Apply();
      Measured m;
      m.ms = (now() - t) * 1000;
      m.copies = files.copies - copiesBefore;
      m.bytesCopied = files.bytesCopied - bytesBefore;
      m.spent = files.spent;
      if (const auto after = bytesWrittenByProcess(); after && writtenBefore)
        m.bytesWritten = *after - *writtenBefore;
      if (!launcher.Applied || !messages.shown().empty())
        throw std::runtime_error("Apply failed: " +
                                 (messages.shown().empty() ? "" : messages.shown().back().text));
      return m;
    };

    auto deleteCopies = [&] {
      for (int i = 0; i < kPackages; ++i) DeleteFileW(wide(game + "\\main\\" + name(i)).c_str());
    };

    for (int i = 0; i < kPackages; ++i) launcher.chkActive(i).userClick();
    // The first gigabytes written in a fresh virtual machine's memory cost up to three times
    // as much as memory used before (measured: 2.7 s, then 0.9 s for the same Apply). So the
    // first Apply of the process is printed on its own and is in no pair.
    const Measured cold = apply();
    launcher.chkActive(7).userClick();  // taken out: Apply deletes it
    const Measured removed = apply();
    launcher.chkActive(7).userClick();  // marked again: Apply copies it
    const Measured one = apply();
    for (int i = 0; i < kPackages; ++i)
      if (hashFile(game + "\\main\\" + name(i)) != hashFile(program + "\\Mods\\" + name(i)))
        throw std::runtime_error("the game folder's copy of " + name(i) + " differs");

    // Each full Apply and each cp start with the other's copies deleted, into an empty folder.
    std::vector<Measured> full;
    vcit::bench::Pairs paired;
    for (int k = 1; k <= pairs; ++k) {
      deleteCopies();
      launcher.chkActive_Click(0);  // changes pending again
      full.push_back(apply());
      if (full.back().copies != kPackages)
        throw std::runtime_error("Apply " + std::to_string(k) + " copied " +
                                 std::to_string(full.back().copies) + " packages, not all");
      deleteCopies();
      if (!yardstick) continue;
      const double cpMs = yardstickMs(work, k);
      paired.add(full.back().ms, cpMs);
      std::printf("RESULT apply_pair pair=%d ms=%.1f cp_sync_ms=%.1f ratio=%.3f\n", k,
                  full.back().ms, cpMs, full.back().ms / cpMs);
      std::fflush(stdout);
    }
    // Where the time went: in the Apply of the median time.
    std::vector<Measured> byTime = full;
    std::sort(byTime.begin(), byTime.end(),
              [](const Measured& a, const Measured& b) { return a.ms < b.ms; });
    const Measured& median = byTime[byTime.size() / 2];
    std::vector<double> fullMs;
    for (const Measured& m : full) fullMs.push_back(m.ms);
    const vcit::bench::Spread fullSpread = vcit::bench::spread(fullMs);

    auto written = [](const Measured& m) {
      return m.bytesWritten ? std::to_string(*m.bytesWritten) : std::string("n/a");
    };
    std::printf(
        "RESULT apply_full packages=%d size_mb=%llu runs=%d ms=%.1f ms_min=%.1f ms_max=%.1f "
        "first_run_ms=%.1f copies=%d bytes_copied=%llu bytes_written=%s\n",
        kPackages, static_cast<unsigned long long>(sizeMb), pairs, fullSpread.median,
        fullSpread.min, fullSpread.max, cold.ms, median.copies,
        static_cast<unsigned long long>(median.bytesCopied), written(median).c_str());
    std::printf(
        "RESULT apply_full_parts stage_ms=%.1f flush_ms=%.1f commit_ms=%.1f "
        "probes_and_deletes_ms=%.1f\n",
        median.spent.stage * 1000, median.spent.flush * 1000, median.spent.commit * 1000,
        median.spent.other * 1000);
    if (yardstick)
      std::printf("RESULT apply_paired %s\n", paired.result("ms", "cp_sync_ms").c_str());
    std::printf("RESULT apply_unmark_one ms=%.1f copies=%d bytes_copied=%llu bytes_written=%s\n",
                removed.ms, removed.copies, static_cast<unsigned long long>(removed.bytesCopied),
                written(removed).c_str());
    std::printf(
        "RESULT apply_one_mark ms=%.1f copies=%d bytes_copied=%llu bytes_written=%s "
        "package_bytes=%llu full_ms_ratio=%.3f\n",
        one.ms, one.copies, static_cast<unsigned long long>(one.bytesCopied), written(one).c_str(),
        static_cast<unsigned long long>(sizeMb << 20), one.ms / fullSpread.median);
    removeTree(game);
    if (!keep) removeTree(program);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_apply: %s\n", e.what());
    return 1;
  }
}
