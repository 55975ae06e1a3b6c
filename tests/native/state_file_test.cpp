// The state file's records: how a row's record is built in the code page, and the lookup over
// records read once.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
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
  ASSERT_EQ(files.exactCodePageBytes(kNeverMarked.back()), kOutsideThePage.front())
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

std::string repeated(const std::string& s, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += s;
  return out;
}

const std::string kZhe = "\xD0\xB6";        // "ж", two bytes in UTF-8
const std::string kKanji = "\xE6\x97\xA5";  // "日", three

// Names of up to 50 characters in any script, side by side with marks of their own, and names
// that differ only where a record might cut or escape them.
TEST_F(StateFileTest, EveryNameOfFiftyCharactersOrFewerHasARecordOfItsOwn) {
  const std::string longPrefix = repeated(kZhe, 40);
  const std::vector<std::string> names = {
      repeated(kZhe, 21) + "\xE6\x97\xA5.pk3",  // 26 characters, "?" and 49 bytes of UTF-8
      repeated(kZhe, 23) + ".pk3",              // 27 characters, 51 bytes with the "?"
      repeated(kZhe, 46) + ".pk3",              // 50 characters
      longPrefix + "-one.pk3",                  // two that share their first 40 characters
      longPrefix + "-two.pk3",
      "\xCE\xA9mega.pk3",                                       // "Ωmega.pk3", held as "?" + UTF-8
      "?\xC3\x8E\xC2\xA9mega.pk3",                              // "?Î©mega.pk3": those very bytes
      "q?x.pk3",                                                // a "?" of its own, as Wine lists
      "\xE2\x82\xAC" + repeated("e", 48) + "\xF0\x9F\x90\x9E",  // "€", 48 "e", an emoji
      repeated(kKanji, 16) + ".pk3",  // 52 bytes of 3-byte characters: cut on a whole one
  };
  std::vector<std::string> records;
  for (std::size_t i = 0; i < names.size(); ++i) records.push_back(record(names[i], int(i % 3)));
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(records[i].size(), 51u) << names[i];
    for (std::size_t k = 0; k < i; ++k)
      EXPECT_NE(records[i].substr(0, 50), records[k].substr(0, 50)) << names[i] << names[k];
  }
  EXPECT_EQ(records[1], "?" + repeated(kZhe, 16) +
                            "\xFF"
                            "5c60eca77f5dcd93"
                            "1")
      << "the first whole characters and the hash of the name";
  EXPECT_EQ(records[0], "?" + names[0] + "0") << "49 bytes of UTF-8 fill the name field whole";
  EXPECT_EQ(records.back(), "?" + repeated(kKanji, 10) +
                                "\xFF"
                                "c9a0d1e0d27e2501"
                                "  0");
  GeneratedRecords file(static_cast<std::int32_t>(records.size()),
                        [&](std::int32_t n) { return records[n - 1]; });
  StateRecords lookup(file, files, names);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const auto found = lookup.find(names[i]);
    EXPECT_TRUE(found && markOf(*found) == int(i % 3)) << names[i];
  }
  EXPECT_EQ(errorOf([&] { record(repeated(kZhe, 47) + ".pk3", 1); }), 5) << "51 characters";
  EXPECT_FALSE(
      StateRecords(file, files, {repeated(kZhe, 47) + ".pk3"}).find(repeated(kZhe, 47) + ".pk3"));
}

TEST_F(StateFileTest, ANameOfMoreThanFiftyBytesInAMultiByteCodePageHasARecordToo) {
  files.codePage = platform::code_page::kUtf8;
  const std::string fits = repeated(kZhe, 23) + ".pk3";  // 27 characters, 50 bytes
  EXPECT_EQ(record(fits, 1), fits + "1") << "in the page's own bytes";
  const std::string r = record(kZhe + fits, 1);  // 28 characters, 52 bytes
  ASSERT_EQ(r.size(), 51u);
  GeneratedRecords file(1, [&](std::int32_t) { return r; });
  StateRecords lookup(file, files, {fits, kZhe + fits});
  EXPECT_FALSE(lookup.find(fits));
  EXPECT_EQ(markOf(*lookup.find(kZhe + fits)), 1);
}

// Records as the builds before stored names, written out byte for byte: the code page's
// default conversion (best fit, else "?") for every name, and then, for a while, a name with
// "?" in its plain bytes. Those builds applied what they marked, so such a "1" counts only
// where the game's main folder holds the listed package.
struct EarlierFile {
  std::vector<std::string> listed;
  std::vector<std::pair<std::string, int>> records;  // name fields, filled to 50 by the test
  std::vector<std::optional<int>> marks;             // of the listed names
  const char* why;
  std::vector<std::string> notInMain = {};  // listed names; main holds the others
};

TEST_F(StateFileTest, FilesOfEarlierBuildsKeepTheMarksTheyGave) {
  const std::string omega = "\xCE\xA9mega.pk3";              // "Ωmega.pk3"
  const std::string zhuk = "\xD0\xB6\xD1\x83\xD0\xBA.pk3";   // "жук.pk3"
  const std::string dom = "\xD0\xB4\xD0\xBE\xD0\xBC.pk3";    // "дом.pk3"
  const std::string mojibake = "?\xC3\x8E\xC2\xA9mega.pk3";  // "?Î©mega.pk3"
  const std::string omegaToday = "?\xCE\xA9mega.pk3";        // and the bytes of both
  const std::vector<EarlierFile> cases = {
      {{"a.pk3", omega, zhuk, "\xF0\x9F\x90\x9E.pk3"},
       {{"a.pk3", 1}, {"Omega.pk3", 0}, {"???.pk3", 1}, {"??.pk3", 2}},
       {1, 0, 1, 2},
       "best fit and \"?\""},
      {{"q?x.pk3"}, {{"q?x.pk3", 1}}, {1}, "a \"?\" of the name's own in its plain bytes"},
      {{omega}, {{"Omega.pk3", 0}, {omegaToday, 1}}, {1}, "today's form before earlier ones"},
      {{zhuk, dom}, {{"???.pk3", 1}}, {std::nullopt, std::nullopt}, "both were stored so"},
      {{"Omega.pk3", omega}, {{"Omega.pk3", 1}}, {1, std::nullopt}, "the real Omega's own"},
      {{mojibake, omega}, {{omegaToday, 1}}, {std::nullopt, 1}, "Omega's today"},
      {{mojibake}, {{omegaToday, 1}}, {1}, "no other listed name was stored so"},
      {{omega, zhuk, "\xF0\x9F\x90\x9E.pk3"},
       {{"Omega.pk3", 1}, {"???.pk3", 0}, {"??.pk3", 2}},
       {std::nullopt, 0, 2},
       "a look-alike new in Mods, beside marks that claim nothing",
       {omega, zhuk, "\xF0\x9F\x90\x9E.pk3"}},
      {{omega}, {{omegaToday, 1}}, {1}, "today's form needs no package in main", {omega}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> records;
    for (const auto& [name, mark] : c.records)
      records.push_back(name + std::string(50 - name.size(), ' ') + std::to_string(mark));
    GeneratedRecords file(static_cast<std::int32_t>(records.size()),
                          [&](std::int32_t n) { return records[n - 1]; });
    StateRecords lookup(file, files, c.listed, [&](const std::string& name) {
      return std::count(c.notInMain.begin(), c.notInMain.end(), name) == 0;
    });
    for (std::size_t i = 0; i < c.listed.size(); ++i) {
      const auto found = lookup.find(c.listed[i]);
      EXPECT_EQ(found ? std::optional(markOf(*found)) : std::nullopt, c.marks[i])
          << c.why << ": " << c.listed[i];
    }
  }
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
