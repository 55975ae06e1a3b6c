// Records of a Windows record file read one by one in any order, after writes of their own, up
// to a last record cut short; and many records read at once.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_files.h"
#include "support/e2e_driver.h"

namespace vcit::platform {
namespace {

std::string recordOf(int n, char mark = '0') {
  std::string r = "package-" + std::to_string(n) + ".pk3";
  r.resize(50, ' ');
  return r + mark;
}

TEST(RecordFileReads, ReadsEveryRecordInAnyOrderAndSeesItsOwnWrites) {
  const std::string dir = e2e::newTempFolder("records");
  const std::string path = dir + "\\Active.dat";
  constexpr int kRecords = 3000;  // about 150 KB: more than two blocks
  std::string bytes;
  for (int n = 1; n <= kRecords; ++n) bytes += recordOf(n);
  e2e::writeFile(path, bytes + "cut short");
  {
    Win32FileSystem files;
    auto file = files.openRecordFile(path, 51);
    for (int n = 1; n <= kRecords; ++n) ASSERT_EQ(file->read(n), recordOf(n)) << n;
    EXPECT_FALSE(file->read(kRecords + 1).has_value()) << "an incomplete last record";
    for (int n : {2999, 1, 1285, 1286, 1284, 3000, 2}) EXPECT_EQ(file->read(n), recordOf(n)) << n;

    // A record already read, written anew, reads back as written; so does one past the end.
    file->write(1286, recordOf(1286, '1'));
    EXPECT_EQ(file->read(1286), recordOf(1286, '1'));
    EXPECT_EQ(file->read(1285), recordOf(1285));
    file->write(kRecords + 1, recordOf(kRecords + 1, '2'));
    EXPECT_EQ(file->read(kRecords + 1), recordOf(kRecords + 1, '2'));
    EXPECT_FALSE(file->read(kRecords + 2).has_value());
  }
  const std::string after = e2e::readFile(path);
  EXPECT_EQ(after.size(), 51u * (kRecords + 1));
  EXPECT_EQ(after.substr(51 * 1285, 51), recordOf(1286, '1'));
  e2e::removeTree(dir);
}

TEST(RecordFileReads, ManyRecordsAtOnceAreTheWholeOnesFromTheFirstAskedForOnAtMostTheCount) {
  const std::string dir = e2e::newTempFolder("records");
  const std::string path = dir + "\\Active.dat";
  std::string bytes;
  for (int n = 1; n <= 40; ++n) bytes += recordOf(n);
  e2e::writeFile(path, bytes + "cut short");
  {
    Win32FileSystem files;
    auto file = files.openRecordFile(path, 51);
    EXPECT_EQ(file->readRecords(1, 32767), bytes) << "the cut-short tail is left out";
    EXPECT_EQ(file->readRecords(3, 2), recordOf(3) + recordOf(4));
    EXPECT_EQ(file->readRecords(40, 5), recordOf(40));
    EXPECT_EQ(file->readRecords(41, 5), "");
    EXPECT_EQ(file->readRecords(1, 0), "");
    file->write(2, recordOf(2, '1'));
    EXPECT_EQ(file->readRecords(2, 1), recordOf(2, '1')) << "its own write is seen";
  }
  e2e::removeTree(dir);
}

}  // namespace
}  // namespace vcit::platform
