// Paths past MAX_PATH: the form the file layer gives the wide functions, and the state file's
// replacement and the leftovers' removal on Wine's own file system.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_files.h"
#include "support/e2e_driver.h"
#include "support/error_of.h"

namespace vcit::platform {
namespace {

using ::testing::ElementsAre;

TEST(ExtendedLengthPathTest, PrefixesAbsolutePathsMadeWholeAndLeavesOthers) {
  EXPECT_EQ(extendedLengthPath(L"C:\\Games\\VCIT\\main\\a.pk3"),
            L"\\\\?\\C:\\Games\\VCIT\\main\\a.pk3");
  // Made whole as without the prefix, which would take these literally.
  EXPECT_EQ(extendedLengthPath(L"C:/Games/VCIT/../VCIT\\\\main\\a.pk3"),
            L"\\\\?\\C:\\Games\\VCIT\\main\\a.pk3");
  EXPECT_EQ(extendedLengthPath(L"C:\\Games\\main\\a.pk3. "), L"\\\\?\\C:\\Games\\main\\a.pk3");
  EXPECT_EQ(extendedLengthPath(L"\\\\server\\share\\main\\a.pk3"),
            L"\\\\?\\UNC\\server\\share\\main\\a.pk3");
  // Reserved device names stay names of files in their folder.
  EXPECT_EQ(extendedLengthPath(L"C:\\Games\\main\\aux.pk3"), L"\\\\?\\C:\\Games\\main\\aux.pk3");
  EXPECT_EQ(extendedLengthPath(L"C:/Games//x/../main//con.pk3"),
            L"\\\\?\\C:\\Games\\main\\con.pk3");
  EXPECT_EQ(extendedLengthPath(L"C:\\nul.pk3"), L"\\\\?\\C:\\nul.pk3");
  EXPECT_EQ(extendedLengthPath(L"\\\\server\\share\\NUL.pk3"),
            L"\\\\?\\UNC\\server\\share\\NUL.pk3");
  EXPECT_EQ(extendedLengthPath(L"C:\\Games\\main\\.."), L"\\\\?\\C:\\Games");
  for (const wchar_t* same : {L"\\\\?\\C:\\x\\..\\a.pk3", L"\\\\.\\pipe\\x", L"main\\a.pk3",
                              L"C:main\\a.pk3", L"a.pk3", L""})
    EXPECT_EQ(extendedLengthPath(same), same);
  const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\a.pk3";
  EXPECT_EQ(extendedLengthPath(deep), L"\\\\?\\" + deep);
}

class ReplaceTest : public ::testing::Test {
 protected:
  ReplaceTest() : dir_(e2e::newTempFolder("replace")) {}
  ~ReplaceTest() override { e2e::removeTree(dir_); }
  std::string at(const std::string& name) const { return dir_ + "\\" + name; }
  std::vector<std::string> names() { return files.listFiles(dir_, "*"); }

  Win32FileSystem files;
  std::string dir_;
};

TEST_F(ReplaceTest, AReservedDeviceNameIsAFileLikeAnyOther) {
  files.replaceContents(at("aux.pk3"), "package");
  files.copyFile(at("aux.pk3"), at("con.pk3"));
  EXPECT_EQ(files.facts(at("con.pk3")).value().size, 7u);
  EXPECT_THAT(names(), ElementsAre("aux.pk3", "con.pk3"));
  files.deleteFile(at("aux.pk3"));
  files.deleteFile(at("con.pk3"));
  EXPECT_THAT(names(), ElementsAre());
}

TEST_F(ReplaceTest, ReplacesContentsWholeAndRemovesOnlyLeftoversOfCopies) {
  const std::string partial = FileSystem::kPartialSuffix;
  files.replaceContents(at("Active.dat"), "new");
  EXPECT_EQ(e2e::readFile(at("Active.dat")), "new");
  e2e::writeFile(at("Active.dat") + partial, "left by a kill");
  files.replaceContents(at("Active.dat"), std::string(102, 'r'));
  EXPECT_EQ(e2e::readFile(at("Active.dat")), std::string(102, 'r'));
  SetFileAttributesW(e2e::wide(at("Active.dat")).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(errorOf([&] { files.replaceContents(at("Active.dat"), "x"); }), 75);
  SetFileAttributesW(e2e::wide(at("Active.dat")).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(e2e::readFile(at("Active.dat")), std::string(102, 'r'));
  {
    auto record = files.openRecordFile(at("Active.dat"), 51);
    record->truncate(1);
  }
  EXPECT_EQ(e2e::readFile(at("Active.dat")), std::string(51, 'r'));

  e2e::writeFile(at("gone.pk3") + partial, "cut short");
  e2e::writeFile(at("notes.vcit-partial.txt"), "not ours");
  e2e::writeFile(at("busy.pk3") + partial, "being written");
  {
    const HANDLE busy = CreateFileW(e2e::wide(at("busy.pk3") + partial).c_str(), GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    files.removePartialFiles(dir_ + "\\");
    CloseHandle(busy);
  }
  EXPECT_THAT(names(), ElementsAre("Active.dat", "busy.pk3" + partial, "notes.vcit-partial.txt"));
  files.removePartialFiles(dir_ + "\\no such folder");
}

}  // namespace
}  // namespace vcit::platform
