// State file names through Windows' (Wine's) own code page conversion: the test prefix's
// Western code page (1252), and a multi-byte one (932) given to the file system.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "launcher/state_file.h"
#include "platform/win32/win32_files.h"
#include "support/e2e_driver.h"

namespace vcit::launcher {
namespace {

using platform::Win32FileSystem;

const std::string kCyrillic = "\xD0\xBF\xD0\xB0\xD0\xBA\xD0\xB5\xD1\x82.pk3";  // "пакет.pk3"
const std::string kMacron = "\xC4\x81-macron.pk3";                             // "ā-macron.pk3"
const std::string kEnSpace =
    "\xE2\x80\x82"
    "en-space.pk3";                         // U+2002 first
const std::string kKanji = "\xE6\x97\xA5";  // "日"

int errorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

std::string repeat(const std::string& s, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += s;
  return out;
}

class StateFileCodePage : public ::testing::Test {
 protected:
  StateFileCodePage() : dir_(e2e::newTempFolder("codepage")), path_(dir_ + "\\Active.dat") {}
  ~StateFileCodePage() override { e2e::removeTree(dir_); }

  // Writes the records as Apply does, then looks the names up as the next start-up does.
  std::vector<std::optional<int>> writeAndReadBack(const Win32FileSystem& files,
                                                   const std::vector<std::string>& names) {
    Win32FileSystem io;
    {
      auto file = io.openRecordFile(path_, kRecordLength);
      for (std::size_t i = 0; i < names.size(); ++i)
        file->write(static_cast<std::int32_t>(i + 1), buildRecord(files, names[i], 1));
    }
    auto file = io.openRecordFile(path_, kRecordLength);
    StateRecords records(*file, files);
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

TEST_F(StateFileCodePage, NamesOutsideTheSystemCodePageKeepTheirMarks) {
  ASSERT_EQ(GetACP(), 1252u) << "the test prefix's code page";
  Win32FileSystem files;
  EXPECT_EQ(files.recordBytes(kCyrillic), "?????.pk3");
  EXPECT_EQ(files.recordBytes("caf\xC3\xA9.pk3"), "caf\xE9.pk3");
  // Best fit: measured under Wine 8.0, "ā" becomes "a" and U+2002 a space.
  EXPECT_EQ(files.recordBytes(kMacron), "a-macron.pk3");
  EXPECT_EQ(files.recordBytes(kEnSpace), " en-space.pk3");

  const auto marks = writeAndReadBack(files, {kCyrillic, kMacron, kEnSpace});
  EXPECT_EQ(marks, (std::vector<std::optional<int>>{1, 1, 1}));
  const std::string bytes = e2e::readFile(path_);
  ASSERT_EQ(bytes.size(), 3u * 51);
  EXPECT_EQ(bytes.substr(0, 51), "?????.pk3" + std::string(41, ' ') + "1");
}

TEST_F(StateFileCodePage, AMultiByteCodePageCountsBytesAndKeepsTheMarkDigit) {
  Win32FileSystem files(932);
  const std::string fits = repeat(kKanji, 23) + ".pk3";  // 27 characters, 50 bytes in cp932
  ASSERT_EQ(files.recordBytes(fits).size(), 50u);
  const std::string record = buildRecord(files, fits, 1);
  ASSERT_EQ(record.size(), 51u);
  EXPECT_EQ(record.back(), '1');
  EXPECT_EQ(writeAndReadBack(files, {"a.pk3", fits}), (std::vector<std::optional<int>>{1, 1}));
  EXPECT_EQ(errorOf([&] { buildRecord(files, kKanji + fits, 1); }), 5) << "28 characters, 52 bytes";
}

}  // namespace
}  // namespace vcit::launcher
