// State file names through Windows' (Wine's) own code page conversion: the test prefix's
// Western code page (1252), and a multi-byte one (932) given to the file system.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/runtime_error.h"
#include "launcher/state_file.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_files.h"
#include "support/e2e_driver.h"
#include "support/error_of.h"

namespace vcit::launcher {
namespace {

using platform::Win32FileSystem;

const std::string kCyrillic = "\xD0\xBF\xD0\xB0\xD0\xBA\xD0\xB5\xD1\x82.pk3";  // "пакет.pk3"
const std::string kMacron = "\xC4\x81-macron.pk3";                             // "ā-macron.pk3"
const std::string kEnSpace =
    "\xE2\x80\x82"
    "en-space.pk3";                         // U+2002 first
const std::string kKanji = "\xE6\x97\xA5";  // "日"

std::string repeat(const std::string& s, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += s;
  return out;
}

class StateFileCodePage : public ::testing::Test {
 protected:
  StateFileCodePage() : dir_(e2e::newTempFolder("codepage")), path_(dir_ + "\\Active.dat") {}
  ~StateFileCodePage() override { e2e::removeTree(dir_); }

  // Writes the records as Apply does (marked 1 unless marks are given), then looks the names
  // up as the next start-up does.
  std::vector<std::optional<int>> writeAndReadBack(const Win32FileSystem& files,
                                                   const std::vector<std::string>& names,
                                                   const std::vector<int>& marks = {}) {
    Win32FileSystem io;
    {
      auto file = io.openRecordFile(path_, kRecordLength);
      for (std::size_t i = 0; i < names.size(); ++i)
        file->write(static_cast<std::int32_t>(i + 1),
                    buildRecord(files, names[i], marks.empty() ? 1 : marks[i]));
    }
    return readBack(files, names);
  }

  std::vector<std::optional<int>> readBack(const Win32FileSystem& files,
                                           const std::vector<std::string>& names,
                                           StateRecords::InMain inMain = {}) {
    auto file = Win32FileSystem().openRecordFile(path_, kRecordLength);
    StateRecords records(*file, files, names, std::move(inMain));
    std::vector<std::optional<int>> marks;
    for (const auto& name : names) {
      const auto record = records.find(name);
      marks.push_back(record ? std::optional(markOf(*record)) : std::nullopt);
    }
    return marks;
  }

  std::string dir_;
  std::string path_;
};

TEST_F(StateFileCodePage, NamesInTheCodePageKeepTheirBytesAndOthersAreMarkedUtf8) {
  ASSERT_EQ(GetACP(), 1252u) << "the test prefix's code page";
  Win32FileSystem files;
  EXPECT_EQ(storedName(files, "caf\xC3\xA9.pk3"), "caf\xE9.pk3");
  EXPECT_EQ(storedName(files, "\xE2\x82\xAC.pk3"), "\x80.pk3") << "the euro sign";
  EXPECT_EQ(storedName(files, kCyrillic), "?" + kCyrillic);
  // Not by best fit (under Wine 8.0 "a" and " "): that is another name's.
  EXPECT_EQ(storedName(files, kMacron), "?" + kMacron);
  EXPECT_EQ(storedName(files, kEnSpace), "?" + kEnSpace);

  const auto marks = writeAndReadBack(files, {kCyrillic, kMacron, kEnSpace});
  EXPECT_EQ(marks, (std::vector<std::optional<int>>{1, 1, 1}));
  const std::string bytes = e2e::readFile(path_);
  ASSERT_EQ(bytes.size(), 3u * 51);
  EXPECT_EQ(bytes.substr(0, 51), "?" + kCyrillic + std::string(35, ' ') + "1");
}

// Names a code page cannot hold, each marked, and names that must not take their marks:
// look-alikes, and a name whose bytes in the page are the UTF-8 bytes of the first.
struct Collisions {
  unsigned codePage;
  std::vector<std::string> marked;
  std::vector<std::string> neverMarked;
};

std::string codePageName(const ::testing::TestParamInfo<Collisions>& info) {
  return "CodePage" + std::to_string(info.param.codePage);
}

class StateFileCollisions : public StateFileCodePage,
                            public ::testing::WithParamInterface<Collisions> {};

TEST_P(StateFileCollisions, NoNameTakesTheMarkOfAnother) {
  const Collisions& c = GetParam();
  const Win32FileSystem files(c.codePage);
  // UTF-8 bytes read as the code page: a name that converts back to the same bytes.
  const std::string utf8 = c.marked.front();
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
      c.codePage, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
      static_cast<int>(wide.size()))));
  ASSERT_FALSE(wide.empty());
  const std::string lookalike = platform::win32::narrow(wide);
  ASSERT_EQ(files.exactCodePageBytes(lookalike), utf8) << "in the page, with the same bytes";

  std::vector<std::string> names = c.marked;
  const auto marks = writeAndReadBack(files, names);
  EXPECT_EQ(marks, std::vector<std::optional<int>>(names.size(), 1));
  auto file = Win32FileSystem().openRecordFile(path_, kRecordLength);
  names = c.neverMarked;
  names.push_back(lookalike);
  StateRecords records(*file, files, names);
  for (const auto& name : names) EXPECT_FALSE(records.find(name)) << name;
}

INSTANTIATE_TEST_SUITE_P(Western, StateFileCollisions,
                         ::testing::Values(Collisions{
                             1252,
                             {"\xD0\xB6\xD1\x83\xD0\xBA-mod.pk3",  // "жук-mod.pk3"
                              "\xCE\xB1\xCE\xB2.pk3",              // "αβ.pk3"
                              "\xE6\x97\xA5\xE6\x9C\xAC.pk3",      // "日本.pk3"
                              "\xF0\x9F\x90\x9E.pk3",              // an emoji, a lady beetle
                              "\xC4\x81.pk3"},                     // "ā.pk3"
                             {"\xD0\xB4\xD0\xBE\xD0\xBC-mod.pk3",  // "дом-mod.pk3"
                              "\xCE\xB3\xCE\xB4.pk3",              // "γδ.pk3"
                              "\xE6\x9C\xAC\xE6\x97\xA5.pk3",      // "本日.pk3"
                              "\xF0\x9F\x90\x9B.pk3",              // another emoji, a bug
                              "a.pk3"}}),
                         codePageName);

INSTANTIATE_TEST_SUITE_P(Japanese, StateFileCollisions,
                         ::testing::Values(Collisions{
                             932,
                             {"\xF0\x9F\x90\x9E.pk3",          // the lady beetle
                              "\xED\x95\x9C\xEA\xB5\xAD.pk3",  // "한국.pk3"
                              "\xE8\xBF\x99.pk3",              // "这.pk3", a simplified letter
                              "\xC4\x81.pk3",                  // "ā.pk3"
                              "caf\xC3\xA9.pk3"},              // "café.pk3"
                             {"\xF0\x9F\x90\x9B.pk3", "\xEA\xB5\xAD\xED\x95\x9C.pk3",  // "국한.pk3"
                              "\xE8\xBF\x98.pk3",                                      // "还.pk3"
                              "a.pk3", "cafe.pk3"}}),
                         codePageName);

TEST_F(StateFileCodePage, AMultiByteCodePageCountsBytesAndKeepsTheMarkDigit) {
  Win32FileSystem files(932);
  const std::string fits = repeat(kKanji, 23) + ".pk3";  // 27 characters, 50 bytes in cp932
  ASSERT_EQ(files.exactCodePageBytes(fits)->size(), 50u);
  const std::string record = buildRecord(files, fits, 1);
  ASSERT_EQ(record.size(), 51u);
  EXPECT_EQ(record.back(), '1');
  // 28 characters, 52 bytes in the page: escaped and cut, as a name the page lacks.
  EXPECT_EQ(writeAndReadBack(files, {"a.pk3", fits, kKanji + fits}, {1, 0, 1}),
            (std::vector<std::optional<int>>{1, 0, 1}));
  EXPECT_EQ(errorOf([&] { buildRecord(files, repeat(kKanji, 47) + ".pk3", 1); }), 5)
      << "51 characters";
}

const std::string kZhe = "\xD0\xB6";                       // "ж"
const std::string kOmega = "\xCE\xA9mega.pk3";             // "Ωmega.pk3"
const std::string kZhuk = "\xD0\xB6\xD1\x83\xD0\xBA.pk3";  // "жук.pk3"

TEST_F(StateFileCodePage, NamesOfUpToFiftyCharactersKeepTheirOwnMarksAcrossARestart) {
  const Win32FileSystem files;
  const std::string cyrillic27 = repeat(kZhe, 23) + ".pk3";
  const std::string cyrillic50 = repeat(kZhe, 46) + ".pk3";
  EXPECT_EQ(buildRecord(files, kOmega, 1), "?\xCE\xA9mega.pk3" + std::string(39, ' ') + "1");
  EXPECT_EQ(buildRecord(files, cyrillic27, 1), "?" + repeat(kZhe, 16) +
                                                   "\xFF"
                                                   "5c60eca77f5dcd93"
                                                   "1");
  EXPECT_EQ(buildRecord(files, cyrillic50, 1), "?" + repeat(kZhe, 16) +
                                                   "\xFF"
                                                   "217c0b204e7ccd81"
                                                   "1");
  const std::vector<std::string> names = {cyrillic27,
                                          cyrillic50,
                                          repeat(kZhe, 40) + "-one.pk3",
                                          repeat(kZhe, 40) + "-two.pk3",
                                          kOmega,
                                          "?\xC3\x8E\xC2\xA9mega.pk3",  // "?Î©mega.pk3"
                                          "q?x.pk3",
                                          "qx.pk3"};
  const std::vector<int> marks = {1, 2, 1, 0, 1, 0, 1, 0};
  EXPECT_EQ(writeAndReadBack(files, names, marks),
            std::vector<std::optional<int>>(marks.begin(), marks.end()));
}

// Active.dat as earlier builds wrote it, by the code page's default conversion (best fit, else
// "?"), and the names listed beside it; main holds what those builds applied.
TEST_F(StateFileCodePage, FilesOfEarlierBuildsKeepTheirMarks) {
  const Win32FileSystem files;
  const auto applied = [](const std::string&) { return true; };
  const auto record = [](const std::string& name, char mark) {
    return name + std::string(50 - name.size(), ' ') + mark;
  };
  e2e::writeFile(path_, record("Omega.pk3", '1') + record("a\xDF.pk3", '2') +
                            record("q?x.pk3", '1') + record("???.pk3", '1'));
  const std::string alphaBeta = "\xCE\xB1\xCE\xB2.pk3";  // "αβ.pk3"
  EXPECT_EQ(readBack(files, {kOmega, alphaBeta, "q?x.pk3", kZhuk}, applied),
            (std::vector<std::optional<int>>{1, 2, 1, 1}));
  // Beside a real "Omega.pk3", and a second name once stored as "???.pk3": whose record is
  // whose is not known.
  const std::string dom = "\xD0\xB4\xD0\xBE\xD0\xBC.pk3";  // "дом.pk3"
  EXPECT_EQ(readBack(files, {kOmega, alphaBeta, "q?x.pk3", kZhuk, "Omega.pk3", dom}, applied),
            (std::vector<std::optional<int>>{std::nullopt, 2, 1, std::nullopt, 1, std::nullopt}));
}

}  // namespace
}  // namespace vcit::launcher
