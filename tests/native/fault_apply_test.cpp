// Apply under faults of the file system, at every package and at several points of its copy:
// the game folder never holds a partly written package, the state file holds whole records
// only, the failure is reported and nothing claims to be applied, and the next Apply after the
// fault is gone finishes the job.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "support/launcher_fixture.h"

namespace vcit::testing {
namespace {

using ::testing::StartsWith;

class ApplyFaultTest : public LauncherTest {
 protected:
  static constexpr int kPackages = 16;

  static std::string name(int i) {
    return "pk" + std::string(i < 9 ? "0" : "") + std::to_string(i + 1) + ".pk3";
  }
  static std::string bytesOf(int i, int version) {
    return "v" + std::to_string(version) + ":" +
           std::string(static_cast<std::size_t>((100 + 37 * i) * version),
                       static_cast<char>('a' + i));
  }

  // Sixteen marked packages applied once, so the game folder holds version 1 of each.
  frmLauncher& appliedOnce() {
    for (int i = 0; i < kPackages; ++i) addPackage(name(i), bytesOf(i, 1));
    frmLauncher& l = start();
    for (int i = 0; i < kPackages; ++i) l.chkActive(i).userClick();
    l.Apply();
    EXPECT_TRUE(l.Applied);
    return l;
  }

  // Every package in the game folder is whole: version 1 or 2 of its source.
  void expectWholePackages(int firstNew, int lastNew) {
    for (int i = 0; i < kPackages; ++i) {
      const std::string got = fake.files.contents(kMainDir + name(i));
      const int version = (i >= firstNew && i < lastNew) ? 2 : 1;
      EXPECT_EQ(got, bytesOf(i, version)) << name(i);
    }
  }

  // The mark a start-up shows for the package with this state file: its first record's, or none.
  static int markAtStart(const std::string& state, const std::string& package) {
    for (std::size_t at = 0; at + 51 <= state.size(); at += 51) {
      std::string recorded = state.substr(at, 50);
      recorded.erase(recorded.find_last_not_of(' ') + 1);
      if (recorded == package) return state[at + 50] - '0';
    }
    return 0;
  }

  void expectWholeRecords(std::size_t atMost) {
    const std::string state = fake.files.contents(kStateFile);
    EXPECT_EQ(state.size() % 51, 0u);
    EXPECT_LE(state.size() / 51, atMost);
    EXPECT_EQ(fake.files.openRecordFiles(), 0);
  }
};

// The game's disk fills up during a copy, with less room than the new version would take
// even in place of the old one.
TEST_F(ApplyFaultTest, ADiskFullDuringAnyCopyKeepsTheOldPackageWhole) {
  int runs = 0;
  std::uint64_t inMain = 0;
  for (int i = 0; i < kPackages; ++i) inMain += bytesOf(i, 1).size();
  for (int failing = 0; failing < kPackages; failing += 3) {
    const std::size_t growth = bytesOf(failing, 2).size() - bytesOf(failing, 1).size();
    for (std::size_t room : {std::size_t{0}, std::size_t{1}, growth / 2, growth - 1}) {
      SCOPED_TRACE("package " + std::to_string(failing) + ", room " + std::to_string(room));
      fake.files = platform::FakeFileSystem();
      fake.files.addFolder(kProgramDir);
      fake.files.addFolder(kMainDir);
      frmLauncher& l = appliedOnce();
      // New versions from the failing package on; the ones before it are current and skipped.
      for (int i = failing; i < kPackages; ++i) addPackage(name(i), bytesOf(i, 2));
      l.chkActive_Click(0);  // changes pending
      fake.files.smallDisk = platform::FakeFileSystem::Disk{kMainDir, inMain + room};
      const std::size_t shown = messages().size();
      l.Apply();
      EXPECT_FALSE(l.Applied);
      EXPECT_TRUE(l.cmdApply.enabled());
      ASSERT_EQ(messages().size(), shown + 1);
      EXPECT_THAT(messages().back(), StartsWith("61:"));
      expectWholePackages(0, 0);
      expectWholeRecords(kPackages);
      EXPECT_EQ(fake.files.contents(kStateFile).size(), 51u * static_cast<unsigned>(failing + 1))
          << "the records up to the failing row's";

      fake.files.smallDisk.reset();
      l.Apply();  // the disk has room again
      EXPECT_TRUE(l.Applied);
      expectWholePackages(failing, kPackages);
      expectWholeRecords(kPackages);
      ++runs;
    }
  }
  EXPECT_EQ(runs, 24);
}

// The state file as a kill in the middle of any copy would leave it: every row shows its old or
// its new mark at the next start.
TEST_F(ApplyFaultTest, AKillWhileCopyingLosesNoMark) {
  frmLauncher& l = appliedOnce();
  std::vector<int> before(kPackages), after(kPackages);
  for (int i = 0; i < kPackages; ++i) {
    addPackage(name(i), bytesOf(i, 2));
    before[static_cast<std::size_t>(i)] = l.chkActive(i).value();
    if (i % 3 == 1) l.chkActive(i).userClick();
    after[static_cast<std::size_t>(i)] = l.chkActive(i).value();
  }
  fake.files.copyChunk = 64;
  int moments = 0, lost = 0;
  fake.files.whileCopying = [&](const std::string&) {
    ++moments;
    const std::string state = fake.files.contents(kStateFile);
    for (std::size_t i = 0; i < before.size(); ++i) {
      const int shown = markAtStart(state, name(static_cast<int>(i)));
      if (shown != before[i] && shown != after[i]) ++lost;
    }
  };
  l.Apply();
  fake.files.whileCopying = nullptr;
  EXPECT_TRUE(l.Applied);
  EXPECT_GT(moments, kPackages);
  EXPECT_EQ(lost, 0) << "marks lost, summed over " << moments << " moments";
}

// Apply stopped (killed, a power cut) before each change it makes that other programs see,
// then a start-up: it shows the changes pending, with the marks chosen once they are recorded,
// exactly when Apply had begun and not ended.
TEST_F(ApplyFaultTest, AStartAfterAStopAtAnyStepOfApplyShowsWhetherChangesArePending) {
  const std::string pendingFile = kStateFile + std::string(".pending");
  for (const char* n : {"a.pk3", "b.pk3", "c.pk3"}) addPackage(n, n);
  frmLauncher& l = start();
  l.chkActive(1).userClick();
  l.chkActive(2).userClick();
  l.Apply();  // b and c in main
  l.chkActive(0).userClick();
  l.chkActive(1).userClick();  // a to copy, b to delete, c current
  std::vector<std::pair<std::string, platform::FakeFileSystem>> stops;
  fake.files.beforeChange = [&](const std::string& path) { stops.emplace_back(path, fake.files); };
  l.Apply();
  ASSERT_TRUE(l.Applied);
  stops.emplace_back("(Apply over)", fake.files);
  const std::vector<int> before = {0, 1, 1}, after = {1, 0, 1};
  const struct {
    std::string next;
    bool pending;
    const std::vector<int>& marks;
  } table[] = {
      {pendingFile, false, before},
      {kStateFile, true, before},
      {kMainDir + std::string("a.pk3"), true, after},
      {kMainDir + std::string("b.pk3"), true, after},
      {pendingFile, true, after},
      {"(Apply over)", false, after},
  };
  ASSERT_EQ(stops.size(), std::size(table));
  for (std::size_t i = 0; i < stops.size(); ++i) {
    SCOPED_TRACE("stopped before " + stops[i].first);
    EXPECT_EQ(stops[i].first, table[i].next);
    fake.files = stops[i].second;
    fake.files.beforeChange = nullptr;
    frmLauncher& next = start();
    EXPECT_EQ(next.cmdApply.enabled(), table[i].pending);
    EXPECT_EQ((std::vector{next.chkActive(0).value(), next.chkActive(1).value(),
                           next.chkActive(2).value()}),
              table[i].marks);
  }
  EXPECT_EQ(messages().size(), 0u);
}

TEST_F(ApplyFaultTest, AStateFileThatCannotBeWrittenStopsApplyBeforeAnyPackage) {
  frmLauncher& l = appliedOnce();
  const std::string state = fake.files.contents(kStateFile);
  for (int i = 0; i < kPackages; ++i) addPackage(name(i), bytesOf(i, 2));
  l.chkActive_Click(0);
  fake.files.failReplaceContents = true;
  l.Apply();
  EXPECT_FALSE(l.Applied);
  EXPECT_THAT(messages().back(), StartsWith("61:"));
  EXPECT_EQ(fake.files.contents(kStateFile), state) << "the old marks stay, as the packages do";
  expectWholePackages(0, 0);
  fake.files.failReplaceContents = false;
  l.Apply();
  EXPECT_TRUE(l.Applied);
  expectWholePackages(0, kPackages);
}

// Another program (a virus scanner) holds the replaced state file as Apply stops at row 5: the
// records are cut back once it lets go, or the report says that the marks are ahead.
TEST_F(ApplyFaultTest, AStopWithTheStateFileHeldCutsItsRecordsBackOrSaysSo) {
  for (const bool briefly : {true, false}) {
    SCOPED_TRACE(briefly ? "held briefly" : "held throughout");
    fake.files = platform::FakeFileSystem();
    fake.files.addFolder(kProgramDir);
    fake.files.addFolder(kMainDir);
    frmLauncher& l = appliedOnce();
    for (int i = 0; i < kPackages; ++i) addPackage(name(i), bytesOf(i, 2));
    fake.files.find(kMainDir + name(5))->readOnly = true;
    const auto hold = [&](bool held) { fake.files.find(kStateFile)->locked = held; };
    fake.files.whileCopying = [&](const std::string&) { hold(true); };
    fake.system.whilePausing = [&] { hold(!briefly); };
    l.chkActive_Click(0);
    l.Apply();
    hold(false);
    EXPECT_FALSE(l.Applied);
    EXPECT_EQ(messages().back(),
              briefly ? "75:Path/File access error"
                      : "75:Path/File access error\nThe marks shown at the next start may be "
                        "ahead of the game's main folder: press Apply again.");
    EXPECT_EQ(fake.files.contents(kStateFile).size(), 51u * (briefly ? 6 : kPackages));
    EXPECT_LE(fake.system.paused, 1000u);
  }
}

TEST_F(ApplyFaultTest, AReadOnlyOrLockedTargetStopsApplyAtItsRowAndKeepsIt) {
  for (const bool locked : {false, true}) {
    SCOPED_TRACE(locked ? "locked" : "read-only");
    fake.files = platform::FakeFileSystem();
    fake.files.addFolder(kProgramDir);
    fake.files.addFolder(kMainDir);
    frmLauncher& l = appliedOnce();
    for (int i = 0; i < kPackages; ++i) addPackage(name(i), bytesOf(i, 2));
    auto* target = fake.files.find(kMainDir + name(5));
    (locked ? target->locked : target->readOnly) = true;
    l.chkActive_Click(0);
    const std::size_t shown = messages().size();
    l.Apply();
    EXPECT_FALSE(l.Applied);
    ASSERT_EQ(messages().size(), shown + 1);
    EXPECT_THAT(messages().back(), StartsWith(locked ? "70:" : "75:"));
    expectWholePackages(0, 5);
    expectWholeRecords(6);
    frmLauncher next(fake.platform);
    next.Form_Load();
    EXPECT_TRUE(next.cmdApply.enabled()) << "a start after the stop shows changes pending";

    // Unmarking the package makes Apply delete it, which fails the same way.
    l.chkActive(5).setValue(0);
    l.Apply();
    EXPECT_FALSE(l.Applied);
    EXPECT_EQ(fake.files.contents(kMainDir + name(5)), bytesOf(5, 1));

    (locked ? target->locked : target->readOnly) = false;
    l.Apply();
    EXPECT_TRUE(l.Applied);
    EXPECT_FALSE(fake.files.fileExists(kMainDir + name(5)));
    EXPECT_EQ(fake.files.contents(kMainDir + name(15)), bytesOf(15, 2));
  }
}

}  // namespace
}  // namespace vcit::testing
