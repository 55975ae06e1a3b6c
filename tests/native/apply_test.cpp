// Apply on the fake platform: the state file records and the game's main folder after a run,
// the missing files it passes over, the errors that stop it, and what stays as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/error_of.h"
#include "support/launcher_fixture.h"

namespace vcit::testing {
namespace {

using ::testing::ElementsAre;

class ApplyTest : public LauncherTest {
 protected:
  std::string state() { return fake.files.contents(kStateFile); }
  std::string inMain(const std::string& name) { return fake.files.contents(kMainDir + name); }
  bool existsInMain(const std::string& name) { return fake.files.fileExists(kMainDir + name); }
  // Completed, and no message shown beyond the first `shown`.
  void expectCompleted(frmLauncher& l, std::size_t shown = 0) {
    EXPECT_TRUE(l.Applied);
    EXPECT_FALSE(l.cmdApply.enabled());
    EXPECT_EQ(messages().size(), shown);
    EXPECT_EQ(fake.files.openRecordFiles(), 0);
  }
  void expectStopped(frmLauncher& l, const std::string& report) {
    EXPECT_FALSE(l.Applied);
    EXPECT_TRUE(l.cmdApply.enabled());
    EXPECT_THAT(messages(), ElementsAre(report));
    EXPECT_EQ(fake.files.openRecordFiles(), 0) << "a later Apply must be able to rewrite it";
  }
};

TEST_F(ApplyTest, RewritesTheStateFileAndMakesMainAgreeWithTheMarks) {
  addPackage("alpha.pk3", "alpha data");
  addPackage("bravo.pk3", "bravo data");
  addPackage("charlie.pk3", "charlie data");
  fake.files.addFile(std::string(kMainDir) + "bravo.pk3", "old bravo");
  fake.files.addFile(std::string(kMainDir) + "charlie.pk3", "charlie data");
  fake.files.addFile(std::string(kMainDir) + "other.pk3", "not ours");
  writeStateFile({record("x.pk3", 1), record("y.pk3", 1), record("z.pk3", 1), record("w", 0)});
  frmLauncher& l = rows({{"alpha.pk3", 1}, {"bravo.pk3", 1}, {"charlie.pk3", 0}});
  l.Apply();
  expectCompleted(l);
  EXPECT_EQ(state(), record("alpha.pk3", 1) + record("bravo.pk3", 1) + record("charlie.pk3", 0))
      << "exactly one record per row; older records are gone";
  EXPECT_EQ(inMain("alpha.pk3"), "alpha data");
  EXPECT_EQ(inMain("bravo.pk3"), "bravo data") << "a marked package replaces the old copy";
  EXPECT_FALSE(existsInMain("charlie.pk3"));
  EXPECT_EQ(inMain("other.pk3"), "not ours");
  EXPECT_EQ(fake.files.contents(std::string(kModsDir) + "charlie.pk3"), "charlie data");
}

TEST_F(ApplyTest, WithNoRowsTheStateFileKeepsItsContents) {
  writeStateFile({record("kept.pk3", 1)});
  frmLauncher& l = rows({});
  l.Apply();
  expectCompleted(l);
  EXPECT_EQ(state(), record("kept.pk3", 1));
}

TEST_F(ApplyTest, WithNoRowsAndNoStateFileAnEmptyOneIsCreated) {
  frmLauncher& l = rows({});
  l.Apply();
  expectCompleted(l);
  ASSERT_TRUE(fake.files.fileExists(kStateFile));
  EXPECT_EQ(state(), "");
}

TEST_F(ApplyTest, MissingFilesArePassedOverSilently) {
  // No state file yet; a marked package gone from the package folder; an unmarked one that
  // is not in main; a marked name that begins with spaces (trimmed, so not found as a source).
  addPackage("present.pk3", "present");
  fake.files.addFile(std::string(kModsDir) + "  spaced.pk3", "spaced");
  frmLauncher& l =
      rows({{"gone.pk3", 1}, {"absent.pk3", 0}, {"  spaced.pk3", 1}, {"present.pk3", 1}});
  l.Apply();
  expectCompleted(l);
  EXPECT_EQ(state(), record("gone.pk3", 1) + record("absent.pk3", 0) + record("spaced.pk3", 1) +
                         record("present.pk3", 1));
  EXPECT_EQ(state().substr(0, 51), "gone.pk3" + std::string(42, ' ') + "1");
  EXPECT_FALSE(existsInMain("gone.pk3"));
  EXPECT_FALSE(existsInMain("spaced.pk3"));
  EXPECT_FALSE(existsInMain("  spaced.pk3"));
  EXPECT_EQ(inMain("present.pk3"), "present") << "later rows still run";
}

TEST_F(ApplyTest, AGrayedRowIsRecordedAsTwoAndItsPackageDeleted) {
  addPackage("gray.pk3");
  fake.files.addFile(std::string(kMainDir) + "gray.pk3", "installed");
  frmLauncher& l = rows({{"gray.pk3", 2}});
  l.Apply();
  expectCompleted(l);
  EXPECT_EQ(state(), record("gray.pk3", 2));
  EXPECT_EQ(state().back(), '2');
  EXPECT_FALSE(existsInMain("gray.pk3"));
}

TEST_F(ApplyTest, AFiftyCharacterNameFillsTheNameField) {
  const std::string name = std::string(46, 'n') + ".pk3";
  addPackage(name, "fifty");
  frmLauncher& l = rows({{name, 1}});
  l.Apply();
  expectCompleted(l);
  EXPECT_EQ(state(), name + "1");
  EXPECT_EQ(inMain(name), "fifty");
}

TEST_F(ApplyTest, AFiftyOneCharacterNameStopsAtItsRowBeforeItsRecord) {
  const std::string tooLong = std::string(47, 'l') + ".pk3";
  for (const char* n : {"a.pk3", "b.pk3", "c.pk3", "e.pk3"}) addPackage(n, n);
  addPackage(tooLong, "long");
  fake.files.addFile(std::string(kMainDir) + "b.pk3", "old b");
  frmLauncher& l = rows({{"a.pk3", 1}, {"b.pk3", 0}, {"c.pk3", 1}, {tooLong, 1}, {"e.pk3", 1}});
  l.chkActive_Click(0);  // changes pending
  l.Apply();
  expectStopped(l, "5:Invalid procedure call or argument");
  EXPECT_EQ(state(), record("a.pk3", 1) + record("b.pk3", 0) + record("c.pk3", 1));
  EXPECT_EQ(inMain("a.pk3"), "a.pk3");
  EXPECT_FALSE(existsInMain("b.pk3"));
  EXPECT_EQ(inMain("c.pk3"), "c.pk3");
  EXPECT_FALSE(existsInMain(tooLong));
  EXPECT_FALSE(existsInMain("e.pk3")) << "rows after the failing one are not done";
}

TEST_F(ApplyTest, ANameOfFiftyCharactersButMoreBytesInAMultiByteCodePageAppliesToo) {
  fake.files.codePage = platform::code_page::kUtf8;
  std::string wide;
  for (int i = 0; i < 46; ++i) wide += "\xD0\xB6";  // 46 two-byte letters
  wide += ".pk3";                                   // 50 characters, 96 bytes
  addPackage("a.pk3", "a");
  addPackage(wide, "wide");
  frmLauncher& l = rows({{"a.pk3", 1}, {wide, 1}});
  l.chkActive_Click(0);
  l.Apply();
  expectCompleted(l);
  const std::string cut = wide.substr(0, 32) +
                          "\xFF"
                          "217c0b204e7ccd81";  // and a hash of all
  EXPECT_EQ(state(), record("a.pk3", 1) + record("?" + cut, 1)) << "escaped, as outside the page";
  EXPECT_EQ(inMain(wide), "wide");
}

TEST_F(ApplyTest, AMissingMainFolderStopsAtTheFirstRowWithItsRecordWritten) {
  fake.files = platform::FakeFileSystem();
  fake.files.addFolder(kProgramDir);
  fake.files.addFolder(kGameDir);  // the game folder has no main folder
  addPackage("a.pk3");
  addPackage("b.pk3");
  frmLauncher& l = rows({{"a.pk3", 1}, {"b.pk3", 0}});
  l.chkActive_Click(0);
  l.Apply();
  expectStopped(l, "76:Path not found");
  EXPECT_EQ(state(), record("a.pk3", 1)) << "the failing row's record comes before its copy";
}

TEST_F(ApplyTest, AnUnmarkedRowFailsOnAMissingMainFolderToo) {
  fake.files = platform::FakeFileSystem();
  fake.files.addFolder(kProgramDir);
  fake.files.addFolder(kGameDir);
  frmLauncher& l = rows({{"a.pk3", 0}});
  l.chkActive_Click(0);
  l.Apply();
  expectStopped(l, "76:Path not found");
}

TEST_F(ApplyTest, AReadOnlyTargetIsReportedAndKept) {
  addPackage("a.pk3", "new a");
  addPackage("ro.pk3", "new ro");
  addPackage("z.pk3", "new z");
  fake.files.addFile(std::string(kMainDir) + "ro.pk3", "old ro");
  fake.files.find(std::string(kMainDir) + "ro.pk3")->readOnly = true;
  frmLauncher& l = rows({{"a.pk3", 1}, {"ro.pk3", 1}, {"z.pk3", 1}});
  l.chkActive_Click(0);
  l.Apply();
  expectStopped(l, "75:Path/File access error");
  EXPECT_EQ(inMain("a.pk3"), "new a");
  EXPECT_EQ(inMain("ro.pk3"), "old ro");
  EXPECT_FALSE(existsInMain("z.pk3"));
  EXPECT_EQ(state(), record("a.pk3", 1) + record("ro.pk3", 1));
}

TEST_F(ApplyTest, AnEmptyGamePathChangesNothingAtAll) {
  addPackage("a.pk3");
  fake.files.addFolder("C:\\main");  // the "\main\" folder at the drive's root
  writeStateFile({record("old.pk3", 1), record("older.pk3", 0)});
  const std::vector<std::string> before = fake.files.allFiles();
  frmLauncher& l = rows({{"a.pk3", 1}});
  l.GamePath.clear();
  l.chkActive_Click(0);
  l.Apply();
  expectStopped(l, "76:Path not found");
  EXPECT_EQ(state(), record("old.pk3", 1) + record("older.pk3", 0));
  EXPECT_EQ(fake.files.allFiles(), before);
}

// With no rows there is no target: Apply completes as it does with a game folder, so that a
// launch can go on.
TEST_F(ApplyTest, AnEmptyGamePathWithNoRowsCompletesAndTheLaunchGoesOn) {
  frmLauncher& l = rows({});
  l.GamePath.clear();
  l.Applied = false;
  l.cmdApply.setEnabled(true);
  l.Apply();
  expectCompleted(l);
  ASSERT_TRUE(fake.files.fileExists(kStateFile)) << "opened (created) and closed";
  EXPECT_EQ(state(), "");

  // A state file there keeps its contents; the launch that asked for the Apply goes on.
  writeStateFile({record("kept.pk3", 1)});
  l.Applied = false;
  l.cmdApply.setEnabled(true);
  fake.messages.queueAnswer(platform::mb::kAnswerYes);
  l.cmdLaunch_Click();
  EXPECT_TRUE(l.Applied);
  EXPECT_EQ(state(), record("kept.pk3", 1));
  EXPECT_EQ(fake.clipboard.text(), "\\vcit.exe");
  EXPECT_EQ(messages().size(), 1u) << "only the question";
}

TEST_F(ApplyTest, AnInterruptedCopyLeavesTheOldTargetAndNoOtherFile) {
  addPackage("big.pk3", std::string(4096, 'n'));
  fake.files.addFile(std::string(kMainDir) + "big.pk3", "old version");
  frmLauncher& l = rows({{"big.pk3", 1}});
  l.chkActive_Click(0);
  fake.files.failCopyAfterBytes = 1000;
  l.Apply();
  expectStopped(l, "61:Disk full");
  EXPECT_EQ(inMain("big.pk3"), "old version");
  EXPECT_THAT(fake.files.listFiles(kMainDir, "*"), ElementsAre("big.pk3"))
      << "no temporary file is left beside the target";

  l.Apply();
  expectCompleted(l, 1);
  EXPECT_EQ(inMain("big.pk3"), std::string(4096, 'n'));
}

// The game on a disk of 7000 bytes: whatever fits when each row's deletion or copy is done in
// turn (a copy overwriting its old target) fits for Apply too.
TEST_F(ApplyTest, AFullDiskIsNoObstacleWhereTheRowsInTurnFit) {
  fake.files.smallDisk = platform::FakeFileSystem::Disk{kGameDir, 7000};
  addPackage("a_old.pk3", std::string(4000, 'a'));
  addPackage("b_new.pk3", std::string(4000, 'b'));
  fake.files.addFile(std::string(kMainDir) + "a_old.pk3", std::string(4000, 'a'));
  frmLauncher& l = rows({{"a_old.pk3", 0}, {"b_new.pk3", 1}});
  l.chkActive_Click(0);
  l.Apply();
  expectCompleted(l);
  EXPECT_FALSE(existsInMain("a_old.pk3"));
  EXPECT_EQ(inMain("b_new.pk3"), std::string(4000, 'b'));

  // A new version of the same size replaces the old one, which leaves no room beside it.
  addPackage("b_new.pk3", std::string(4000, 'B'));
  l.chkActive_Click(0);
  l.Apply();
  expectCompleted(l);
  EXPECT_EQ(inMain("b_new.pk3"), std::string(4000, 'B'));

  // A larger one that fits once the old one is gone: the first try wrote 3000 bytes.
  addPackage("b_new.pk3", std::string(6000, 'C'));
  l.chkActive_Click(0);
  l.Apply();
  expectCompleted(l);
  EXPECT_EQ(inMain("b_new.pk3"), std::string(6000, 'C'));

  // One that would not fit even in place of the old one is reported; the old one stays whole.
  addPackage("b_new.pk3", std::string(7001, 'x'));
  l.chkActive_Click(0);
  l.Apply();
  expectStopped(l, "61:Disk full");
  EXPECT_EQ(inMain("b_new.pk3"), std::string(6000, 'C'));
  EXPECT_THAT(fake.files.listFiles(kMainDir, "*"), ElementsAre("b_new.pk3"));
}

// The package is locked or removed in the folder while its first copy finds the disk full, as
// room is made by the row before it, or as its old version makes room for the copy made
// again, which holds the package open so that it cannot be removed then: the game folder
// holds the old version or the new one, whole, and Apply tells which.
TEST_F(ApplyTest, AFullDiskRetryKeepsAWholeVersionWhateverBecomesOfThePackage) {
  const std::string source = kModsDir + std::string("b.pk3");
  const std::string oldVersion(4000, 'o'), newVersion(6000, 'n');
  enum class When { FirstCopy, RoomMade, OldVersionMakesRoom };
  struct Case {
    When when;
    bool removed;  // else locked
    bool newVersionInPlace;
    bool packageLeft;
  };
  const Case cases[] = {
      {When::FirstCopy, false, false, true},          {When::FirstCopy, true, false, false},
      {When::RoomMade, false, false, true},           {When::RoomMade, true, false, false},
      {When::OldVersionMakesRoom, false, true, true}, {When::OldVersionMakesRoom, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << (c.removed ? "removed" : "locked") << " at moment "
                                      << static_cast<int>(c.when));
    fake.files = platform::FakeFileSystem();
    fake.files.addFolder(kMainDir);
    fake.files.smallDisk = platform::FakeFileSystem::Disk{kGameDir, 7000};
    addPackage("b.pk3", newVersion);
    fake.files.addFile(std::string(kMainDir) + "a.pk3", std::string(2000, 'a'));
    fake.files.addFile(std::string(kMainDir) + "b.pk3", oldVersion);
    frmLauncher& l = rows({{"a.pk3", 0}, {"b.pk3", 1}});
    l.chkActive_Click(0);
    const std::size_t shownBefore = messages().size();
    // Another program's removal that is refused (the package held open) fails in that program.
    const auto change = [&](const std::string& path, const char* name) {
      if (path != kMainDir + std::string(name) || !fake.files.find(source)) return;
      if (!c.removed) {
        fake.files.find(source)->locked = true;
      } else if (errorOf([&] { fake.files.deleteFile(source); }) != 0) {
        EXPECT_EQ(c.when, When::OldVersionMakesRoom) << "refused";
      }
    };
    if (c.when == When::FirstCopy)
      fake.files.whileCopying = [&](const std::string& path) { change(path, "b.pk3"); };
    else
      fake.files.whileDeleting = [&](const std::string& path) {
        change(path, c.when == When::RoomMade ? "a.pk3" : "b.pk3");
      };
    l.Apply();
    EXPECT_EQ(inMain("b.pk3"), c.newVersionInPlace ? newVersion : oldVersion);
    EXPECT_THAT(fake.files.listFiles(kMainDir, "*"), ElementsAre("b.pk3"));
    EXPECT_EQ(fake.files.find(source) != nullptr, c.packageLeft);
    const bool stops = !c.removed && !c.newVersionInPlace;  // the package locked, not yet copied
    EXPECT_EQ(l.Applied, !stops);
    const std::vector<std::string> all = messages();
    const std::vector<std::string> shown(all.begin() + static_cast<long>(shownBefore), all.end());
    EXPECT_EQ(shown, stops ? std::vector<std::string>{"70:Permission denied"}
                           : std::vector<std::string>{});
  }
}

TEST_F(ApplyTest, LeavesNoTemporaryFileOfCopiesCutShortInMain) {
  addPackage("a.pk3", "a");
  const std::string partial = platform::FileSystem::kPartialSuffix;
  // Left by killed runs: of a package gone from the package folder, of a row not applied now.
  fake.files.addFile(kMainDir + std::string("gone.pk3") + partial, "cut short");
  fake.files.addFile(kMainDir + std::string("A.PK3.VCIT-PARTIAL"), "cut short");
  fake.files.addFile(kMainDir + std::string("busy.pk3") + partial, "being written");
  fake.files.find(kMainDir + std::string("busy.pk3") + partial)->locked = true;
  fake.files.addFile(kMainDir + std::string("notes.vcit-partial.txt"), "not ours");
  fake.files.addFile(kMainDir + std::string("sub\\x.pk3") + partial, "another folder");
  frmLauncher& l = rows({{"a.pk3", 1}});
  l.chkActive_Click(0);
  l.Apply();
  expectCompleted(l);
  EXPECT_THAT(fake.files.listFiles(kMainDir, "*"),
              ElementsAre("a.pk3", "busy.pk3" + partial, "notes.vcit-partial.txt"))
      << "one still in use stays";
  EXPECT_TRUE(fake.files.fileExists(kMainDir + std::string("sub\\x.pk3") + partial));
}

TEST_F(ApplyTest, ApplyingAgainCopiesOnlyWhatChanged) {
  addPackage("a.pk3", std::string(100, 'a'));
  addPackage("b.pk3", std::string(200, 'b'));
  addPackage("c.pk3", std::string(400, 'c'));
  frmLauncher& l = start();
  l.chkActive(0).userClick();
  l.chkActive(1).userClick();
  l.Apply();
  ASSERT_TRUE(l.Applied);
  EXPECT_EQ(fake.files.bytesCopied(), 300u);

  l.chkActive(2).userClick();  // one more package marked
  l.Apply();
  expectCompleted(l);
  EXPECT_EQ(fake.files.bytesCopied(), 700u) << "only c.pk3 was copied again";
  EXPECT_EQ(inMain("c.pk3"), std::string(400, 'c'));

  // A package changed in the package folder (other time, same size) is copied again.
  addPackage("a.pk3", std::string(100, 'A'));
  l.chkActive_Click(0);
  l.Apply();
  EXPECT_EQ(fake.files.bytesCopied(), 800u);
  EXPECT_EQ(inMain("a.pk3"), std::string(100, 'A'));

  // A target edited in place (other time) is replaced by the package again.
  fake.files.addFile(std::string(kMainDir) + "b.pk3", std::string(200, 'x'));
  l.chkActive_Click(0);
  l.Apply();
  EXPECT_EQ(fake.files.bytesCopied(), 1000u);
  EXPECT_EQ(inMain("b.pk3"), std::string(200, 'b'));

  // A target cut short that kept the package's time is replaced too.
  fake.files.find(std::string(kMainDir) + "c.pk3")->bytes.resize(10);
  l.chkActive_Click(0);
  l.Apply();
  EXPECT_EQ(fake.files.bytesCopied(), 1400u);
  EXPECT_EQ(inMain("c.pk3"), std::string(400, 'c'));
}

TEST_F(ApplyTest, RowsWhoseTargetsDifferOnlyInLetterCaseAreAppliedInRowOrder) {
  addPackage("a.pk3", "package");
  fake.files.copyFile(std::string(kModsDir) + "a.pk3", std::string(kMainDir) + "a.pk3");
  // The unmarked row deletes the target that is current for the marked row after it, which
  // then copies it again.
  frmLauncher& l = rows({{"A.PK3", 0}, {"a.pk3", 1}});
  l.Apply();
  expectCompleted(l);
  EXPECT_EQ(inMain("a.pk3"), "package");
}

TEST_F(ApplyTest, StartUpAfterApplyRestoresTheMarks) {
  addPackage("a.pk3");
  addPackage("b.pk3");
  addPackage("c.pk3");
  {
    frmLauncher& l = start();
    l.chkActive(1).userClick();
    l.chkActive(2).setValue(2);
    l.Apply();
    ASSERT_TRUE(l.Applied);
  }
  frmLauncher& again = start();
  EXPECT_EQ(again.chkActive(0).value(), 0);
  EXPECT_EQ(again.chkActive(1).value(), 1);
  EXPECT_EQ(again.chkActive(2).value(), 2);
  EXPECT_TRUE(again.Applied);
}

}  // namespace
}  // namespace vcit::testing
