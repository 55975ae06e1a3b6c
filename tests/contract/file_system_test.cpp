// The rules of files the launcher relies on, against every file system: the package list,
// files in use, record files, copies that keep their time, staged copies and names in the
// code page.
#include <gmock/gmock.h>

#include <cstdint>
#include <string>

#include "file_system_backends.h"
#include "support/error_of.h"

namespace vcit::testing {
namespace {

using ::testing::ElementsAre;
using FileSystemRules = FileSystemContract;
VCIT_FILE_SYSTEM_CONTRACT(FileSystemRules);

// An old time, so that a copy stamped "now" would show.
constexpr std::uint64_t kPast = 0x01d0000012345600u;

TEST_P(FileSystemRules, ThePackageListIsInNameOrderIgnoringCaseAndMatchesTheLongName) {
  // The short name of "longer-name.pk3x" is "LONGER~1.PK3", which Windows matches to "*.pk3".
  for (const char* name : {"charlie.pk3", "X.PK3", "alpha.pk3", "Bravo.pk3", "y.pk3x",
                           "longer-name.pk3x", "notes.pk3.txt"})
    workspace().write(at(name), name);
  EXPECT_THAT(files().listFiles(workspace().folder(), "*.pk3"),
              ElementsAre("alpha.pk3", "Bravo.pk3", "charlie.pk3", "X.PK3"));
  EXPECT_TRUE(files().fileExists(at("ALPHA.pk3")));
  EXPECT_FALSE(files().fileExists(at("alpha.pk")));
  EXPECT_EQ(errorOf([&] { files().listFiles(at("nowhere"), "*.pk3"); }), 76);
}

TEST_P(FileSystemRules, AFileHeldOpenElsewhereIsNeitherDeletedNorReplacedNorRead) {
  workspace().write(at("busy.pk3"), "busy");
  workspace().write(at("src.pk3"), "source");
  {
    const auto held = workspace().holdOpen(at("busy.pk3"));
    EXPECT_EQ(errorOf([&] { files().deleteFile(at("busy.pk3")); }), 70);
    EXPECT_EQ(errorOf([&] { files().copyFile(at("src.pk3"), at("busy.pk3")); }), 70);
    EXPECT_EQ(errorOf([&] { files().copyFile(at("busy.pk3"), at("copy.pk3")); }), 70);
    EXPECT_EQ(errorOf([&] { files().openRecordFile(at("busy.pk3"), 51); }), 70);
    EXPECT_EQ(errorOf([&] { files().openToRead(at("busy.pk3")); }), 70);
  }
  EXPECT_THAT(everything(), ElementsAre("busy.pk3", "src.pk3"));
  EXPECT_EQ(workspace().read(at("busy.pk3")), "busy");
  files().deleteFile(at("busy.pk3"));
  EXPECT_FALSE(files().fileExists(at("busy.pk3")));
}

TEST_P(FileSystemRules, AFileOpenToReadIsReadInPiecesAndMayBeDeletedMeanwhile) {
  workspace().write(at("pack.pk3"), "0123456789");
  EXPECT_EQ(files().openToRead(at("none.pk3")), nullptr);
  {
    const auto file = files().openToRead(at("pack.pk3"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->size(), 10u);
    EXPECT_EQ(file->readAt(3, 4), "3456");
    EXPECT_EQ(file->readAt(8, 5), "89");
    EXPECT_EQ(file->readAt(20, 3), "");
    files().deleteFile(at("pack.pk3"));  // Windows lets the name go once the reader closes
  }
  EXPECT_FALSE(files().fileExists(at("pack.pk3")));
}

TEST_P(FileSystemRules, RecordFilesAreCreatedOnOpenAndHoldOnlyWholeRecords) {
  const std::string path = at("Active.dat");
  {
    auto file = files().openRecordFile(path, 4);
    EXPECT_TRUE(files().fileExists(path));
    EXPECT_FALSE(file->read(1).has_value()) << "created empty";
    file->write(3, "ab");      // padded with spaces; records 1 and 2 are zeros
    file->write(1, "longer");  // cut to the record length
    EXPECT_EQ(file->read(1), "long");
    EXPECT_EQ(file->read(2), std::string(4, '\0'));
    EXPECT_EQ(file->read(3), "ab  ");
    EXPECT_FALSE(file->read(4).has_value());
    EXPECT_EQ(errorOf([&] { file->read(0); }), 63);
    EXPECT_EQ(errorOf([&] { file->write(0, "x"); }), 63);
    EXPECT_EQ(errorOf([&] { files().deleteFile(path); }), 70) << "open in this program";
    EXPECT_EQ(errorOf([&] { files().copyFile(path, at("copy.dat")); }), 70);
  }
  EXPECT_EQ(workspace().read(path), std::string("long") + std::string(4, '\0') + "ab  ");
  // A torn tail (a write cut short) is no record.
  workspace().write(path, "one two thr");
  auto file = files().openRecordFile(path, 4);
  EXPECT_EQ(file->read(2), "two ");
  EXPECT_FALSE(file->read(3).has_value());
  EXPECT_EQ(file->readRecords(1, 5), "one two ");
  EXPECT_EQ(file->readRecords(2, 1), "two ");
  EXPECT_EQ(file->readRecords(3, 1), "");
  EXPECT_EQ(errorOf([&] { files().openRecordFile(at("nowhere\\Active.dat"), 4); }), 76);
}

TEST_P(FileSystemRules, ACopyKeepsTheSourcesSizeAndLastWriteTime) {
  const std::string bytes(70000, 'p');
  workspace().write(at("src.pk3"), bytes);
  workspace().setLastWriteTime(at("src.pk3"), kPast);
  workspace().write(at("old.pk3"), "an old, longer target than this");
  for (const char* target : {"old.pk3", "new.pk3"}) {
    files().copyFile(at("src.pk3"), at(target));
    const auto facts = files().facts(at(target));
    ASSERT_TRUE(facts.has_value()) << target;
    EXPECT_EQ(facts->size, bytes.size()) << target;
    EXPECT_EQ(facts->lastWriteTime, kPast) << target;
    EXPECT_EQ(workspace().read(at(target)), bytes) << target;
  }
  EXPECT_FALSE(files().facts(at("missing.pk3")).has_value());
  EXPECT_EQ(errorOf([&] { files().copyFile(at("missing.pk3"), at("x.pk3")); }), 53);
  EXPECT_EQ(errorOf([&] { files().copyFile(at("src.pk3"), at("nowhere\\x.pk3")); }), 76);
  EXPECT_THAT(everything(), ElementsAre("new.pk3", "old.pk3", "src.pk3"));
}

TEST_P(FileSystemRules, AStagedCopyReplacesTheTargetOnlyOnCommitAndLeavesNothingOtherwise) {
  workspace().write(at("src.pk3"), "new data");
  workspace().write(at("target.pk3"), "old data");
  std::uint64_t told = 0;
  {
    auto staged = files().stageCopy(at("src.pk3"), at("target.pk3"),
                                    [&](std::uint64_t written) { told = written; });
    EXPECT_EQ(told, 8u);
    staged->flush();
    EXPECT_EQ(workspace().read(at("target.pk3")), "old data");
    EXPECT_THAT(files().listFiles(workspace().folder(), "*.pk3"),
                ElementsAre("src.pk3", "target.pk3"));
  }  // gone without commit
  EXPECT_EQ(workspace().read(at("target.pk3")), "old data");
  EXPECT_THAT(everything(), ElementsAre("src.pk3", "target.pk3"));

  auto staged = files().stageCopy(at("src.pk3"), at("target.pk3"));
  staged->commit();
  EXPECT_EQ(workspace().read(at("target.pk3")), "new data");
  staged.reset();
  EXPECT_EQ(workspace().read(at("target.pk3")), "new data") << "kept once committed";
  EXPECT_THAT(everything(), ElementsAre("src.pk3", "target.pk3"));

  // What runs before the first byte is written finds the source held, and may free the target.
  bool ran = false;
  const auto run = [&] { ran = true; };
  EXPECT_EQ(errorOf([&] { files().stageCopy(at("missing.pk3"), at("target.pk3"), {}, run); }), 53);
  EXPECT_FALSE(ran);
  workspace().write(at("src.pk3"), "newer data");
  files()
      .stageCopy(at("src.pk3"), at("target.pk3"), {},
                 [&] {
                   EXPECT_EQ(errorOf([&] { files().deleteFile(at("src.pk3")); }), 70);
                   files().deleteFile(at("target.pk3"));
                 })
      ->commit();
  EXPECT_EQ(workspace().read(at("target.pk3")), "newer data");
}

TEST_P(FileSystemRules, NamesInTheCodePageGoToRecordsAsItsBytes) {
  workspace().write(at("café.pk3"), "package");
  ASSERT_THAT(files().listFiles(workspace().folder(), "*.pk3"), ElementsAre("café.pk3"));
  EXPECT_TRUE(files().fileExists(at("CAFÉ.PK3")));
  EXPECT_EQ(files().exactCodePageBytes("café.pk3"), "caf\xE9.pk3");
  EXPECT_EQ(files().exactCodePageBytes("Ærø"), "\xC6r\xF8");
  EXPECT_EQ(files().exactCodePageBytes("Ωmega"), std::nullopt);
  EXPECT_EQ(files().defaultCodePageBytes("Ωmega αβ ā жук"), "Omega a\xDF a ???") << "best fit";
  EXPECT_EQ(files().defaultCodePageBytes("\xF0\x9F\x90\x9E.pk3"), "??.pk3");
  {
    auto file = files().openRecordFile(at("Zoë.dat"), 9);
    file->write(1,
                *files().exactCodePageBytes(files().listFiles(workspace().folder(), "*.pk3")[0]));
    EXPECT_EQ(file->read(1), "caf\xE9.pk3 ");
  }
  EXPECT_THAT(everything(), ElementsAre("café.pk3", "Zoë.dat"));
  EXPECT_EQ(workspace().read(at("zoË.dat")), "caf\xE9.pk3 ");
}

}  // namespace
}  // namespace vcit::testing
