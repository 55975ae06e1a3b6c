// The state file's records: how a row's record is built in the code page, and the lookup over
// records read once.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "launcher/state_file.h"
#include "platform/fake/fake_files.h"
#include "support/error_of.h"

namespace vcit::launcher {
namespace {

// Records made on demand, counting reads: a file of any size without holding its bytes.
class GeneratedRecords : public platform::RecordFile {
 public:
  GeneratedRecords(std::int32_t count, std::function<std::string(std::int32_t)> record)
      : count_(count), record_(std::move(record)) {}
  std::optional<std::string> read(std::int32_t number) override {
    ++reads;
    if (number > count_) return std::nullopt;
    return record_(number);
  }
  void write(std::int32_t, const std::string&) override { FAIL() << "a lookup writes nothing"; }
  int reads = 0;

 private:
  std::int32_t count_;
  std::function<std::string(std::int32_t)> record_;
};

class StateFileTest : public ::testing::Test {
 protected:
  std::string record(const std::string& name, int mark) { return buildRecord(files, name, mark); }
  platform::FakeFileSystem files;
};

TEST_F(StateFileTest, ARecordIsTheTrimmedNameFilledToFiftyThenTheMark) {
  EXPECT_EQ(record("abc.pk3", 1), "abc.pk3" + std::string(43, ' ') + "1");
  EXPECT_EQ(record("  abc.pk3 ", 2), "abc.pk3" + std::string(43, ' ') + "2");
  const std::string fifty(50, 'x');
  EXPECT_EQ(record(fifty, 0), fifty + "0");
  EXPECT_EQ(errorOf([&] { record(fifty + "y", 0); }), 5) << "a 51-character name has no room";
}

TEST_F(StateFileTest, NamesAreStoredInTheCodePageOneByteEachInASingleByteOne) {
  // 50 characters, 51 bytes of UTF-8: one byte each in Windows-1252.
  const std::string accented = "\xC3\xA9" + std::string(49, 'e');
  EXPECT_EQ(record(accented, 1), "\xE9" + std::string(49, 'e') + "1");
}

// Names the code page cannot hold, each marked, and names that met them before: their
// look-alikes in the page and, for the first, its UTF-8 bytes read as Windows-1252.
const std::vector<std::string> kOutsideThePage = {
    "\xD0\xB6\xD1\x83\xD0\xBA-mod.pk3",  // "жук-mod.pk3"
    "\xCE\xB1\xCE\xB2.pk3",              // "αβ.pk3"
    "\xE6\x97\xA5\xE6\x9C\xAC.pk3",      // "日本.pk3"
    "\xF0\x9F\x90\x9E.pk3",              // an emoji, a lady beetle
    "\xC4\x81.pk3",                      // "ā.pk3", best fit "a.pk3"
};
const std::vector<std::string> kNeverMarked = {
    "\xD0\xB4\xD0\xBE\xD0\xBC-mod.pk3",  // "дом-mod.pk3"
    "\xCE\xB3\xCE\xB4.pk3",              // "γδ.pk3"
    "\xE6\x9C\xAC\xE6\x97\xA5.pk3",      // "本日.pk3"
    "\xF0\x9F\x90\x9B.pk3",              // another emoji, a bug
    "a.pk3",
    // "Ð¶ÑƒÐº-mod.pk3": in Windows-1252 the very bytes of "жук-mod.pk3" in UTF-8.
    "\xC3\x90\xC2\xB6\xC3\x91\xC6\x92\xC3\x90\xC2\xBA-mod.pk3",
};

TEST_F(StateFileTest, NamesOutsideTheCodePageKeepTheirOwnMarksAndLendThemToNoOther) {
  ASSERT_EQ(files.recordBytes(kNeverMarked.back()), kOutsideThePage.front())
      << "in the page, and its bytes are the other name's UTF-8";
  std::vector<std::string> records;
  for (const auto& name : kOutsideThePage) records.push_back(record(name, 1));
  GeneratedRecords file(static_cast<std::int32_t>(records.size()),
                        [&](std::int32_t n) { return records[n - 1]; });
  std::vector<std::string> names = kOutsideThePage;
  names.insert(names.end(), kNeverMarked.begin(), kNeverMarked.end());
  StateRecords lookup(file, files, names);
  for (const auto& name : kOutsideThePage) {
    const auto found = lookup.find(name);
    EXPECT_TRUE(found && markOf(*found) == 1) << name;
  }
  for (const auto& name : kNeverMarked) EXPECT_FALSE(lookup.find(name)) << name;
}

TEST_F(StateFileTest, ANameOutsideTheCodePageCountsItsStoredBytesAgainstTheFifty) {
  const std::string letter = "\xD0\xB6";  // "ж", two bytes in UTF-8
  std::string fits = "\xE6\x97\xA5";      // "日", three
  std::string tooLong;
  for (int i = 0; i < 21; ++i) fits += letter;
  for (int i = 0; i < 23; ++i) tooLong += letter;
  fits += ".pk3";     // 26 characters, 49 bytes of UTF-8
  tooLong += ".pk3";  // 27 characters, 50 bytes of UTF-8, with the mark of such names 51
  EXPECT_EQ(record(fits, 1).size(), 51u);
  EXPECT_EQ(errorOf([&] { record(tooLong, 1); }), 5);
}

TEST_F(StateFileTest, ANameOfMoreThanFiftyBytesInAMultiByteCodePageHasNoRoom) {
  files.codePage = platform::code_page::kUtf8;
  const std::string letter = "\xD0\xB6";  // two bytes in UTF-8
  std::string fits;
  for (int i = 0; i < 23; ++i) fits += letter;
  fits += ".pk3";  // 27 characters, 50 bytes
  const std::string r = record(fits, 1);
  ASSERT_EQ(r.size(), 51u);
  EXPECT_EQ(markOf(r), 1);
  EXPECT_EQ(errorOf([&] { record(letter + fits, 1); }), 5) << "28 characters, 52 bytes";
}

TEST_F(StateFileTest, LookupReadsTheFileOnceAndTheFirstOfEqualNamesWins) {
  const std::vector<std::string> records = {record("a.pk3", 0), record("b.pk3", 1),
                                            record("b.pk3", 2), record("Case.pk3", 1)};
  GeneratedRecords file(4, [&](std::int32_t n) { return records[n - 1]; });
  StateRecords lookup(file, files, {"b.pk3", "a.pk3", "case.pk3", "c.pk3", " a.pk3"});
  EXPECT_EQ(markOf(*lookup.find("b.pk3")), 1);
  EXPECT_EQ(markOf(*lookup.find("a.pk3")), 0);
  EXPECT_FALSE(lookup.find("case.pk3")) << "letter case counts";
  EXPECT_FALSE(lookup.find("c.pk3"));
  EXPECT_FALSE(lookup.find(" a.pk3")) << "the listed name is not trimmed";
  EXPECT_EQ(file.reads, 5) << "records 1 to 4 and the end, once for every lookup";
}

TEST_F(StateFileTest, LookupIgnoresAnIncompleteLastRecord) {
  files.addFile("C:\\s.dat", record("a.pk3", 1) + record("b.pk3", 1).substr(0, 50));
  auto file = files.openRecordFile("C:\\s.dat", kRecordLength);
  StateRecords lookup(*file, files, {"a.pk3", "b.pk3"});
  EXPECT_TRUE(lookup.find("a.pk3"));
  EXPECT_FALSE(lookup.find("b.pk3"));
}

TEST_F(StateFileTest, ALookupThatFindsNothingInRecords1To32767Overflows) {
  const auto hay = [&](std::int32_t n) {
    return record(n == 32767 ? "last.pk3" : n == 32768 ? "beyond.pk3" : "hay.pk3", 1);
  };
  GeneratedRecords full(32768, hay);
  StateRecords lookup(full, files, {"last.pk3", "hay.pk3", "beyond.pk3", "none.pk3"});
  EXPECT_TRUE(lookup.find("last.pk3")) << "record 32767 is still counted";
  EXPECT_TRUE(lookup.find("hay.pk3"));
  EXPECT_EQ(errorOf([&] { lookup.find("beyond.pk3"); }), 6) << "record 32768 is not";
  EXPECT_EQ(errorOf([&] { lookup.find("none.pk3"); }), 6);
  EXPECT_EQ(full.reads, 32767) << "nothing is read past the last record number";

  GeneratedRecords exactly(32767, hay);
  EXPECT_EQ(errorOf([&] { StateRecords(exactly, files, {"none.pk3"}).find("none.pk3"); }), 6)
      << "counting on from record 32767 overflows, whether or not a record follows";
  GeneratedRecords shorter(32766, hay);
  EXPECT_EQ(errorOf([&] { StateRecords(shorter, files, {"none.pk3"}).find("none.pk3"); }), 0);
}

}  // namespace
}  // namespace vcit::launcher
