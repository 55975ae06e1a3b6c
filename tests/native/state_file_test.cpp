// The state file's records: how a row's record is built in the code page, and the lookup over
// records read once.
#include <gtest/gtest.h>

#include <functional>

#include "core/runtime_error.h"
#include "launcher/state_file.h"
#include "platform/fake/fake_files.h"

namespace vcit::launcher {
namespace {

int errorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

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
  // Cyrillic is not in the page: each letter is stored as its "?".
  const std::string cyrillic = "\xD0\xBF\xD0\xB0\xD0\xBA\xD0\xB5\xD1\x82.pk3";  // "пакет.pk3"
  EXPECT_EQ(record(cyrillic, 1), "?????.pk3" + std::string(41, ' ') + "1");
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
  StateRecords lookup(file, files);
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
  StateRecords lookup(*file, files);
  EXPECT_TRUE(lookup.find("a.pk3"));
  EXPECT_FALSE(lookup.find("b.pk3"));
}

TEST_F(StateFileTest, ALookupThatFindsNothingInRecords1To32767Overflows) {
  const auto hay = [&](std::int32_t n) {
    return record(n == 32767 ? "last.pk3" : n == 32768 ? "beyond.pk3" : "hay.pk3", 1);
  };
  GeneratedRecords full(32768, hay);
  StateRecords lookup(full, files);
  EXPECT_TRUE(lookup.find("last.pk3")) << "record 32767 is still counted";
  EXPECT_TRUE(lookup.find("hay.pk3"));
  EXPECT_EQ(errorOf([&] { lookup.find("beyond.pk3"); }), 6) << "record 32768 is not";
  EXPECT_EQ(errorOf([&] { lookup.find("none.pk3"); }), 6);
  EXPECT_EQ(full.reads, 32767) << "nothing is read past the last record number";

  GeneratedRecords exactly(32767, hay);
  EXPECT_EQ(errorOf([&] { StateRecords(exactly, files).find("none.pk3"); }), 6)
      << "counting on from record 32767 overflows, whether or not a record follows";
  GeneratedRecords shorter(32766, hay);
  EXPECT_EQ(errorOf([&] { StateRecords(shorter, files).find("none.pk3"); }), 0);
}

}  // namespace
}  // namespace vcit::launcher
