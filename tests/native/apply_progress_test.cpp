// Apply's progress (bytes copied of bytes to copy, told per chunk and ended on every path
// before any report) and its row order where rows share a target.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "support/launcher_fixture.h"

namespace vcit::testing {
namespace {

using ::testing::ElementsAre;

class ApplyProgressTest : public LauncherTest {
 protected:
  frmLauncher& rows(const std::vector<std::pair<std::string, int>>& marks) {
    frmLauncher& l = LauncherTest::rows(marks);
    fake.log.calls.clear();
    return l;
  }
  std::vector<std::string> calls() const { return fake.log.calls; }
};

TEST_F(ApplyProgressTest, CountsTheBytesOfTheCopiesThatAreNeededChunkByChunk) {
  addPackage("a.pk3", std::string(250, 'a'));
  addPackage("current.pk3", std::string(500, 'c'));
  addPackage("d.pk3", std::string(100, 'd'));
  fake.files.copyFile(std::string(kModsDir) + "current.pk3", std::string(kMainDir) + "current.pk3");
  fake.files.addFile(std::string(kMainDir) + "off.pk3", "old");
  fake.files.copyChunk = 100;
  frmLauncher& l = rows({{"a.pk3", 1}, {"current.pk3", 1}, {"d.pk3", 1}, {"off.pk3", 0}});
  const int flushesBefore = fake.files.flushes();
  fake.progress.workingCalls = 0;
  l.Apply();
  EXPECT_TRUE(l.Applied);
  EXPECT_EQ(fake.progress.workingCalls, 6)
      << "kept alive while each flush waits, after it and after each rename";
  EXPECT_THAT(calls(), ElementsAre("progress begin 350", "progress 100", "progress 200",
                                   "progress 250", "progress 350", "progress end"));
  EXPECT_EQ(fake.files.contents(std::string(kMainDir) + "d.pk3"), std::string(100, 'd'));
  EXPECT_FALSE(fake.files.fileExists(std::string(kMainDir) + "off.pk3"));
  EXPECT_EQ(fake.files.flushes() - flushesBefore, 2);

  // Nothing to copy: the progress still begins and ends.
  l.chkActive_Click(0);
  fake.log.calls.clear();
  l.Apply();
  EXPECT_THAT(calls(), ElementsAre("progress begin 0", "progress end"));
}

TEST_F(ApplyProgressTest, EndsBeforeTheReportWhicheverWayApplyStops) {
  addPackage("a.pk3", std::string(300, 'a'));
  addPackage("b.pk3", std::string(300, 'b'));
  fake.files.copyChunk = 100;

  // A copy cut short by a full disk: the progress stops where the copy did.
  frmLauncher& l = rows({{"a.pk3", 1}, {"b.pk3", 1}});
  fake.files.failCopyAfterBytes = 150;
  l.Apply();
  EXPECT_THAT(calls(), ElementsAre("progress begin 600", "progress 100", "progress 150",
                                   "progress end", "message 61:Disk full"));

  // A name too long for its record, after a copy that went through.
  rows({{"a.pk3", 1}, {std::string(51, 'n'), 1}}).Apply();
  EXPECT_THAT(calls(),
              ElementsAre("progress begin 300", "progress 100", "progress 200", "progress 300",
                          "progress end", "message 5:Invalid procedure call or argument"));

  // A state file that cannot be opened, before any copy.
  fake.files.addFile(std::string(kMainDir) + "b.pk3", "old");
  fake.files.find(kStateFile)->readOnly = true;
  rows({{"b.pk3", 1}}).Apply();
  EXPECT_THAT(calls(), ElementsAre("progress begin 300", "progress end",
                                   "message 75:Path/File access error"));

  // What runs while the disk takes the copy fails (a window's handler): reported once the
  // flush is over, with nothing put in place.
  fake.files.find(kStateFile)->readOnly = false;
  addPackage("c.pk3", std::string(100, 'c'));
  fake.progress.whileWorking = [] { raise(err::kOutOfMemory); };
  rows({{"c.pk3", 1}}).Apply();
  EXPECT_THAT(calls(), ElementsAre("progress begin 100", "progress 100", "progress end",
                                   "message 7:Out of memory"));
  EXPECT_FALSE(fake.files.fileExists(std::string(kMainDir) + "c.pk3"));
}

// The window's bar, as its view sees it, in the call log with the other services' calls.
void logTheBar(frmLauncher& l, platform::CallLog& log) {
  l.prgApply.bindView([&l, &log] {
    log.add(std::string(l.prgApply.visible() ? "bar " : "bar hidden ") +
            std::to_string(l.prgApply.value()));
  });
}

TEST_F(ApplyProgressTest, TheWindowsBarShowsOnlyWhileApplyCopiesAndHidesOnEveryPath) {
  addPackage("a.pk3", std::string(300, 'a'));
  addPackage("b.pk3", std::string(100, 'b'));
  fake.files.copyChunk = 100;

  frmLauncher& l = rows({{"a.pk3", 1}, {"b.pk3", 1}});
  logTheBar(l, fake.log);
  l.Apply();
  ASSERT_TRUE(l.Applied);
  EXPECT_THAT(calls(),
              ElementsAre("bar 0", "progress begin 400", "bar 250", "progress 100", "bar 500",
                          "progress 200", "bar 750", "progress 300", "bar 1000", "progress 400",
                          "bar hidden 1000", "bar hidden 0", "progress end"));

  // Nothing to copy: the bar never shows.
  l.chkActive_Click(0);
  fake.log.calls.clear();
  l.Apply();
  EXPECT_THAT(calls(), ElementsAre("progress begin 0", "progress end"));

  // A full disk: hidden before the report.
  frmLauncher& full = rows({{"a.pk3", 1}});
  fake.files.deleteFile(std::string(kMainDir) + "a.pk3");
  logTheBar(full, fake.log);
  fake.files.failCopyAfterBytes = 150;
  full.Apply();
  EXPECT_THAT(calls(), ElementsAre("bar 0", "progress begin 300", "bar 333", "progress 100",
                                   "bar 500", "progress 150", "bar hidden 500", "bar hidden 0",
                                   "progress end", "message 61:Disk full"));
  EXPECT_FALSE(full.prgApply.visible());
}

TEST_F(ApplyProgressTest, RowsNamingTheSameTargetAreDoneInRowOrder) {
  // " dup.pk3" trims to the name of the next row: its delete comes first, then the copy.
  addPackage("dup.pk3", "dup data");
  fake.files.copyFile(std::string(kModsDir) + "dup.pk3", std::string(kMainDir) + "dup.pk3");
  frmLauncher& l = rows({{" dup.pk3", 0}, {"dup.pk3", 1}});
  l.Apply();
  EXPECT_TRUE(l.Applied);
  EXPECT_EQ(fake.files.contents(std::string(kMainDir) + "dup.pk3"), "dup data");

  // And the other way round: copied, then deleted by the later row.
  rows({{" dup.pk3", 1}, {"dup.pk3", 0}}).Apply();
  EXPECT_TRUE(launcher->Applied);
  EXPECT_FALSE(fake.files.fileExists(std::string(kMainDir) + "dup.pk3"));
  EXPECT_EQ(fake.files.contents(kStateFile), record("dup.pk3", 1) + record("dup.pk3", 0));
}

TEST(ProgressRunTest, TellsRisingAmountsAboutAThousandTimesAndEndsOnUnwinding) {
  platform::CallLog log;
  platform::FakeProgress progress(log);
  try {
    platform::ProgressRun run(progress, 1u << 20);
    for (std::uint64_t done = 0; done <= (1u << 20) + 5; done += 64) run.advance(done);
    run.advance(100);  // going back is not told
    throw std::runtime_error("stop");
  } catch (const std::runtime_error&) {
  }
  ASSERT_GE(log.calls.size(), 3u);
  EXPECT_EQ(log.calls.front(), "progress begin 1048576");
  EXPECT_EQ(log.calls.back(), "progress end");
  EXPECT_EQ(log.calls[log.calls.size() - 2], "progress 1048576") << "capped at the total";
  EXPECT_LE(log.calls.size(), 1024u + 3u);
  EXPECT_GE(log.calls.size(), 512u);
  EXPECT_EQ(log.calls.size() - 2 + progress.workingCalls, 16384u) << "each rise told or working";
}

}  // namespace
}  // namespace vcit::testing
