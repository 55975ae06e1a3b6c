#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "support/launcher_fixture.h"

namespace vcit::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class StartupTest : public LauncherTest {};

TEST_F(StartupTest, EmptyPackageFolderCreatesAnEmptyStateFileAndLeavesNothingPending) {
  fake.files.addFolder(kModsDir);
  frmLauncher& l = start();
  EXPECT_EQ(l.ModCount, 0);
  EXPECT_TRUE(l.Applied);
  EXPECT_FALSE(l.cmdApply.enabled());
  EXPECT_THAT(messages(), IsEmpty());
  ASSERT_TRUE(fake.files.fileExists(kStateFile));
  EXPECT_EQ(fake.files.contents(kStateFile), "");
  EXPECT_EQ(fake.files.openRecordFiles(), 0);
  for (int i = 0; i < frmLauncher::kRows; ++i) {
    EXPECT_EQ(l.txtPk3(i).text(), "");
    EXPECT_EQ(l.chkActive(i).value(), 0);
  }
}

TEST_F(StartupTest, MissingPackageFolderIsCreatedSilently) {
  ASSERT_FALSE(fake.files.folderExists(kModsDir));
  frmLauncher& l = start();
  EXPECT_TRUE(fake.files.folderExists(kModsDir));
  EXPECT_THAT(messages(), IsEmpty());
  EXPECT_TRUE(l.Applied);
}

TEST_F(StartupTest, SetsPathsFromTheProgramFolderAndTheRegistry) {
  frmLauncher& l = start();
  EXPECT_EQ(l.ModsDir, kModsDir);
  EXPECT_EQ(l.StateFilePath, kStateFile);
  EXPECT_EQ(l.GamePath, kGameDir);
}

TEST_F(StartupTest, FillsRowsInNameOrderAndRestoresEachMarkFromAnywhereInTheFile) {
  addPackage("charlie.pk3");
  addPackage("Alpha.pk3");
  addPackage("bravo.pk3");
  addPackage("notes.txt");
  // Records in another order than the listing; the first listed package has none.
  writeStateFile({record("charlie.pk3", 1), record("gone.pk3", 1), record("bravo.pk3", 2)});
  frmLauncher& l = start();
  ASSERT_EQ(l.ModCount, 3);
  EXPECT_EQ(l.txtPk3(0).text(), "Alpha.pk3");
  EXPECT_EQ(l.txtPk3(1).text(), "bravo.pk3");
  EXPECT_EQ(l.txtPk3(2).text(), "charlie.pk3");
  EXPECT_EQ(l.chkActive(0).value(), 0);
  EXPECT_EQ(l.chkActive(1).value(), 2);
  EXPECT_EQ(l.chkActive(2).value(), 1);
  EXPECT_EQ(l.txtPk3(3).text(), "");
  // Setting marks raised clicks on the way; the end of start-up leaves nothing pending.
  EXPECT_TRUE(l.Applied);
  EXPECT_FALSE(l.cmdApply.enabled());
}

TEST_F(StartupTest, RecordMatchingIsExactFirstWinsAndIgnoresAnIncompleteTail) {
  addPackage("Case.pk3");
  addPackage("dup.pk3");
  addPackage("tail.pk3");
  writeStateFile({record("case.pk3", 1), record("dup.pk3", 1), record("dup.pk3", 0),
                  record("tail.pk3", 1).substr(0, 50)});
  frmLauncher& l = start();
  ASSERT_EQ(l.ModCount, 3);
  EXPECT_EQ(l.chkActive(0).value(), 0) << "a name in other letter case must not match";
  EXPECT_EQ(l.chkActive(1).value(), 1) << "the first of two records wins";
  EXPECT_EQ(l.chkActive(2).value(), 0) << "an incomplete record is no record";
  EXPECT_TRUE(l.Applied);
}

TEST_F(StartupTest, FiftyCharacterNameRoundTripsWithoutFilling) {
  const std::string name = std::string(46, 'n') + ".pk3";
  addPackage(name);
  writeStateFile({name + "1"});
  frmLauncher& l = start();
  EXPECT_EQ(l.chkActive(0).value(), 1);
}

TEST_F(StartupTest, AMarkOnANameOutsideTheCodePageSurvivesARestartAndGoesToNoOtherName) {
  const std::string beetle = "\xD0\xB6\xD1\x83\xD0\xBA-mod.pk3";  // "жук-mod.pk3"
  const std::string house = "\xD0\xB4\xD0\xBE\xD0\xBC-mod.pk3";   // "дом-mod.pk3"
  addPackage("plain.pk3");
  addPackage(beetle, "beetle data");
  frmLauncher& first = start();
  ASSERT_EQ(first.txtPk3(1).text(), beetle);
  first.chkActive(1).userClick();
  first.cmdApply.click();
  ASSERT_TRUE(first.Applied);
  ASSERT_EQ(fake.files.contents(kMainDir + beetle), "beetle data");

  addPackage(house, "house data");  // Windows-1252 has none of the letters of either name
  frmLauncher& second = start();
  ASSERT_EQ(second.txtPk3(1).text(), house);  // "д" sorts before "ж"
  EXPECT_EQ(second.chkActive(1).value(), 0) << "never marked";
  EXPECT_EQ(second.chkActive(2).value(), 1);
  second.chkActive(0).userClick();
  second.cmdApply.click();
  EXPECT_EQ(fake.files.contents(kMainDir + beetle), "beetle data") << "not deleted";
  EXPECT_FALSE(fake.files.fileExists(kMainDir + house));
  // Names the code page lacks are stored as "?" and their UTF-8 bytes.
  EXPECT_EQ(fake.files.contents(kStateFile),
            record("plain.pk3", 1) + record("?" + house, 0) + record("?" + beetle, 1));
}

TEST_F(StartupTest, SixteenPackagesFillEveryRow) {
  addPackages(16);
  frmLauncher& l = start();
  EXPECT_EQ(l.ModCount, 16);
  EXPECT_EQ(l.txtPk3(15).text(), "pk16.pk3");
  EXPECT_THAT(messages(), IsEmpty());
  EXPECT_TRUE(l.Applied);
}

TEST_F(StartupTest, SeventeenthPackageStopsStartupWithError340AfterSixteenRows) {
  addPackages(17);
  writeStateFile({record("pk16.pk3", 1), record("pk17.pk3", 1)});
  frmLauncher& l = start();
  EXPECT_THAT(messages(), ElementsAre("340:Control array element does not exist"));
  EXPECT_EQ(fake.messages.shown()[0].title, "RUZiza");
  EXPECT_EQ(fake.messages.shown()[0].style, 0x10u);
  EXPECT_EQ(l.ModCount, 16);
  EXPECT_EQ(l.chkActive(15).value(), 1);
  EXPECT_FALSE(l.Applied);
  EXPECT_TRUE(l.cmdApply.enabled());
}

// The listing's count is a 16-bit counter too: past it, start-up stops before the first row.
TEST_F(StartupTest, MoreThan32767PackagesOverflowBeforeAnyRow) {
  for (int i = 0; i < 32768; ++i) addPackage("p" + std::to_string(i) + ".pk3", "");
  frmLauncher& l = start();
  EXPECT_THAT(messages(), ElementsAre("6:Overflow"));
  EXPECT_EQ(l.ModCount, 0);
  EXPECT_FALSE(l.Applied);
}

struct BadMark {
  char mark;
  const char* report;
};

class BadMarkTest : public LauncherTest, public ::testing::WithParamInterface<BadMark> {};

TEST_P(BadMarkTest, StopsStartupWithItsErrorAndReleasesTheStateFile) {
  addPackage("a.pk3");
  addPackage("b.pk3");
  writeStateFile({record("a.pk3", 1), record("b.pk3", 0).replace(50, 1, 1, GetParam().mark)});
  frmLauncher& l = start();
  EXPECT_THAT(messages(), ElementsAre(GetParam().report));
  EXPECT_EQ(l.ModCount, 1) << "the row of the bad record is filled but not counted";
  EXPECT_EQ(l.txtPk3(1).text(), "b.pk3");
  EXPECT_EQ(l.chkActive(0).value(), 1);
  EXPECT_FALSE(l.Applied);
  EXPECT_TRUE(l.cmdApply.enabled());
  EXPECT_EQ(fake.files.openRecordFiles(), 0) << "a later Apply must be able to rewrite the file";
}

INSTANTIATE_TEST_SUITE_P(Marks, BadMarkTest,
                         ::testing::Values(BadMark{'x', "13:Type mismatch"},
                                           BadMark{' ', "13:Type mismatch"},
                                           BadMark{'3', "380:Invalid property value"}),
                         [](const ::testing::TestParamInfo<BadMark>& param) {
                           return param.param.mark == ' ' ? std::string("Blank")
                                                          : std::string(1, param.param.mark);
                         });

TEST_F(StartupTest, ApplyCanRewriteTheStateFileAfterAFailedStartup) {
  addPackage("a.pk3");
  addPackage("b.pk3");
  writeStateFile({record("a.pk3", 1), record("b.pk3", 0).replace(50, 1, "?")});
  frmLauncher& l = start();
  ASSERT_FALSE(l.Applied);
  ASSERT_EQ(l.ModCount, 1);
  l.chkActive(0).userClick();
  l.cmdApply.click();
  EXPECT_TRUE(l.Applied);
  EXPECT_EQ(fake.files.contents(kStateFile), record("a.pk3", 0));
}

// A state file that may be read but not written: its marks show without a report, and Apply
// reports the refusal before it touches any package. One that cannot be read is reported.
TEST_F(StartupTest, AStateFileThatMayOnlyBeReadShowsItsMarksAndApplyTouchesNoPackage) {
  struct Case {
    const char* what;
    bool readOnlyFile, readOnlyFolder, present, locked;
  };
  const Case cases[] = {
      {"read-only file", true, false, true, false},
      {"folder that may not be written", false, true, true, false},
      {"no file in such a folder", false, true, false, false},
      {"file held by another program", false, false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake.files = platform::FakeFileSystem();
    fake.files.addFolder(kMainDir);
    addPackage("a.pk3", "new a");
    addPackage("b.pk3", "new b");
    fake.files.addFile(kMainDir + std::string("b.pk3"), "old b");
    if (c.present) writeStateFile({record("a.pk3", 0), record("b.pk3", 1)});
    if (auto* f = fake.files.find(kStateFile)) {
      f->readOnly = c.readOnlyFile;
      f->locked = c.locked;
    }
    if (c.readOnlyFolder) fake.files.readOnlyFolder = kProgramDir;
    const std::string state = fake.files.contents(kStateFile);
    const std::size_t shown = messages().size();
    frmLauncher& l = start();
    if (c.locked) {
      EXPECT_EQ(messages().back(), "70:Permission denied");
      continue;
    }
    EXPECT_EQ(messages().size(), shown);
    EXPECT_TRUE(l.Applied);
    EXPECT_EQ(l.chkActive(1).value(), c.present ? 1 : 0);
    EXPECT_EQ(fake.files.openRecordFiles(), 0);
    l.chkActive(0).userClick();
    l.Apply();
    EXPECT_EQ(messages().back(), "75:Path/File access error");
    EXPECT_FALSE(l.Applied);
    EXPECT_EQ(fake.files.contents(kMainDir + std::string("b.pk3")), "old b");
    EXPECT_FALSE(fake.files.fileExists(kMainDir + std::string("a.pk3")));
    EXPECT_EQ(fake.files.contents(kStateFile), state);
  }
}

TEST_F(StartupTest, PackageFolderThatCannotBeMadeReportsPathNotFoundAndFillsNothing) {
  fake.files.failCreateFolder = true;
  frmLauncher& l = start();
  EXPECT_THAT(messages(), ElementsAre("76:Path not found"));
  EXPECT_EQ(l.ModCount, 0);
  EXPECT_FALSE(fake.files.fileExists(kStateFile)) << "the state file is not opened";
  EXPECT_FALSE(l.Applied);
  EXPECT_TRUE(l.cmdApply.enabled());
}

TEST_F(StartupTest, LookupPastRecord32767Overflows) {
  addPackage("needle.pk3");
  std::string bytes;
  const std::string other = record("hay.pk3", 1);
  for (int i = 0; i < 32768; ++i) bytes += other;
  fake.files.addFile(kStateFile, bytes);
  frmLauncher& l = start();
  EXPECT_THAT(messages(), ElementsAre("6:Overflow"));
  EXPECT_FALSE(l.Applied);
}

class BlankGamePathTest : public LauncherTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BlankGamePathTest, IsReportedAsNotFoundAndStartupGoesOn) {
  setBasePath(GetParam());
  addPackage("a.pk3");
  frmLauncher& l = start();
  EXPECT_THAT(messages(), ElementsAre("Valor Crest path not found"));
  EXPECT_EQ(fake.messages.shown()[0].style, 0x10u);
  EXPECT_EQ(fake.messages.shown()[0].title, "RUZiza");
  EXPECT_EQ(l.GamePath, "");
  EXPECT_EQ(l.ModCount, 1);
  EXPECT_TRUE(l.Applied);
}

INSTANTIATE_TEST_SUITE_P(Values, BlankGamePathTest, ::testing::Values("", "    "),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                           return std::string(*param.param ? "Spaces" : "Empty");
                         });

TEST_F(StartupTest, MissingValueOrKeyIsReportedAsNotFoundAndTheKeyIsCreatedEmpty) {
  using namespace platform::reg;
  Key vcit = 0;
  ASSERT_EQ(fake.registry.openKey(kCurrentUser, "Software\\Brackwater", 0, kKeyAllAccess, vcit),
            kSuccess);
  ASSERT_EQ(fake.registry.shellDeleteKey(vcit, "VCIT"), kSuccess);
  fake.registry.closeKey(vcit);

  frmLauncher& l = start();
  EXPECT_THAT(messages(), ElementsAre("Valor Crest path not found"));
  EXPECT_EQ(l.GamePath, "");
  Key key = 0;
  ASSERT_EQ(fake.registry.openKey(kCurrentUser, "Software\\Brackwater\\VCIT", 0, kKeyRead, key),
            kSuccess);
  platform::Registry::KeyInfo info;
  fake.registry.queryInfoKey(key, info);
  EXPECT_EQ(info.values, 0u);
}

TEST_F(StartupTest, GamePathKeepsSurroundingSpaces) {
  setBasePath("  D:\\Games\\Valor Crest  ");
  EXPECT_EQ(start().GamePath, "  D:\\Games\\Valor Crest  ");
  EXPECT_THAT(messages(), IsEmpty());
}

TEST_F(StartupTest, ErrorInsideTheGamePathLookupIsReportedOnceAndStartupGoesOn) {
  // Multi-string data with no pair of NULs cannot be read as text.
  platform::reg::Key key = 0;
  fake.registry.createKey(platform::reg::kCurrentUser, "Software\\Brackwater\\VCIT", "", 0,
                          platform::reg::kKeyAllAccess, key);
  fake.registry.setValue(key, "basepath", platform::reg::kTypeMultiSz, "abc");
  fake.registry.closeKey(key);
  addPackage("a.pk3");
  frmLauncher& l = start();
  EXPECT_THAT(messages(), ElementsAre("5:Invalid procedure call or argument"));
  EXPECT_EQ(l.GamePath, "");
  EXPECT_EQ(l.ModCount, 1);
  EXPECT_TRUE(l.Applied);
}

TEST_F(StartupTest, ClickOnAnyRowMarksChangesPending) {
  addPackage("a.pk3");
  frmLauncher& l = start();
  l.chkActive(0).userClick();
  EXPECT_EQ(l.chkActive(0).value(), 1);
  EXPECT_FALSE(l.Applied);
  EXPECT_TRUE(l.cmdApply.enabled());

  l.cmdApply.click();
  ASSERT_TRUE(l.Applied);
  l.chkActive(9).userClick();  // an empty row
  EXPECT_FALSE(l.Applied);
  EXPECT_TRUE(l.cmdApply.enabled());
}

TEST_F(StartupTest, PackagesAddedLaterShowOnlyAtTheNextStart) {
  addPackage("a.pk3");
  frmLauncher& l = start();
  addPackage("b.pk3");
  EXPECT_EQ(l.ModCount, 1);
  EXPECT_EQ(l.txtPk3(1).text(), "");
}

}  // namespace
}  // namespace vcit::testing
