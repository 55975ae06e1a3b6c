// Win32FileSystem against Windows' (Wine's) own file system: the run-time error numbers, the
// package list, crash-safe copies and record files in the code page.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "core/runtime_error.h"
#include "platform/win32/win32_files.h"
#include "support/e2e_driver.h"
#include "support/error_of.h"
#include "win32/file_call_trace.h"

namespace vcit::platform {
namespace {

using ::testing::ElementsAre;

// A file held open by "another program" with no sharing at all.
class Locked {
 public:
  explicit Locked(const std::string& path)
      : handle_(CreateFileW(e2e::wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    EXPECT_NE(handle_, INVALID_HANDLE_VALUE) << path;
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  ~Locked() { CloseHandle(handle_); }

 private:
  HANDLE handle_;
};

class FilesTest : public ::testing::Test {
 protected:
  FilesTest() : dir_(e2e::newTempFolder("files")) {}
  ~FilesTest() override {
    for (const char* name : {"ro.pk3", "target.pk3"})
      SetFileAttributesW(e2e::wide(at(name)).c_str(), FILE_ATTRIBUTE_NORMAL);
    e2e::removeTree(dir_);
  }
  std::string at(const std::string& name) const { return dir_ + "\\" + name; }
  void makeReadOnly(const std::string& path) {
    ASSERT_TRUE(SetFileAttributesW(e2e::wide(path).c_str(), FILE_ATTRIBUTE_READONLY));
  }
  std::vector<std::string> names() { return files.listFiles(dir_, "*"); }

  Win32FileSystem files;
  std::string dir_;
};

TEST_F(FilesTest, DeletingAPackageAlsoRemovesWhatAnInterruptedCopyLeft) {
  const std::string partial = std::string(Win32FileSystem::kPartialSuffix);
  e2e::writeFile(at("kept.pk3"), "old");
  e2e::writeFile(at("kept.pk3") + partial, "half a copy");
  e2e::writeFile(at("gone.pk3") + partial, "half a copy");
  files.deleteFile(at("kept.pk3"));
  EXPECT_EQ(errorOf([&] { files.deleteFile(at("gone.pk3")); }), 53) << "the package itself";
  EXPECT_THAT(names(), ElementsAre());
}

TEST_F(FilesTest, FailuresGiveTheRunTimeErrorNumbers) {
  e2e::writeFile(at("ro.pk3"), "read-only");
  e2e::writeFile(at("busy.pk3"), "busy");
  e2e::writeFile(at("src.pk3"), "source");
  makeReadOnly(at("ro.pk3"));
  const std::string missingDir = at("nowhere");

  EXPECT_EQ(errorOf([&] { files.deleteFile(at("absent.pk3")); }), 53);
  EXPECT_EQ(errorOf([&] { files.deleteFile(missingDir + "\\a.pk3"); }), 76);
  EXPECT_EQ(errorOf([&] { files.deleteFile(at("ro.pk3")); }), 75);
  EXPECT_EQ(errorOf([&] { files.copyFile(at("absent.pk3"), at("x.pk3")); }), 53);
  EXPECT_EQ(errorOf([&] { files.copyFile(missingDir + "\\a.pk3", at("x.pk3")); }), 76);
  EXPECT_EQ(errorOf([&] { files.copyFile(at("src.pk3"), missingDir + "\\a.pk3"); }), 76);
  EXPECT_EQ(errorOf([&] { files.copyFile(at("src.pk3"), at("ro.pk3")); }), 75);
  EXPECT_EQ(errorOf([&] { files.listFiles(missingDir, "*.pk3"); }), 76);
  EXPECT_EQ(errorOf([&] { files.openRecordFile(missingDir + "\\Active.dat", 51); }), 76);
  EXPECT_EQ(errorOf([&] { files.openRecordFile(at("ro.pk3"), 51); }), 75);
  EXPECT_EQ(errorOf([&] { files.createFolder(dir_); }), 75) << "it exists";
  EXPECT_EQ(errorOf([&] { files.createFolder(missingDir + "\\deeper"); }), 76);
  {
    const Locked busy(at("busy.pk3"));
    EXPECT_EQ(errorOf([&] { files.deleteFile(at("busy.pk3")); }), 70);
    EXPECT_EQ(errorOf([&] { files.copyFile(at("src.pk3"), at("busy.pk3")); }), 70);
    EXPECT_EQ(errorOf([&] { files.copyFile(at("busy.pk3"), at("x.pk3")); }), 70);
    EXPECT_EQ(errorOf([&] { files.openRecordFile(at("busy.pk3"), 51); }), 70);
  }
  EXPECT_EQ(e2e::readFile(at("ro.pk3")), "read-only");
  EXPECT_EQ(e2e::readFile(at("busy.pk3")), "busy");
  EXPECT_FALSE(files.fileExists(at("x.pk3")));
  EXPECT_THAT(names(), ElementsAre("busy.pk3", "ro.pk3", "src.pk3")) << "nothing left behind";

  EXPECT_EQ(errorOf([&] { files.createFolder(at("made")); }), 0);
  EXPECT_FALSE(files.fileExists(at("made"))) << "a folder is no file";
  EXPECT_FALSE(files.facts(at("made")).has_value());
}

TEST_F(FilesTest, ThePackageListHoldsNormalFilesWhoseLongNameMatchesInNameOrder) {
  for (const char* name : {"charlie.pk3", "Bravo.PK3", "alpha.pk3", "x.pk3x", "longer-name.pk3x",
                           "notes.pk3.txt", "hidden.pk3", "_under.pk3", "a b.pk3"})
    e2e::writeFile(at(name), name);
  SetFileAttributesW(e2e::wide(at("hidden.pk3")).c_str(), FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(CreateDirectoryW(e2e::wide(at("folder.pk3")).c_str(), nullptr));
  // The short name of "longer-name.pk3x" is "LONGER~1.PK3", which Windows matches to "*.pk3".
  EXPECT_THAT(files.listFiles(dir_, "*.pk3"),
              ElementsAre("_under.pk3", "a b.pk3", "alpha.pk3", "Bravo.PK3", "charlie.pk3"));
  EXPECT_THAT(files.listFiles(dir_ + "\\", "*.PK3"),
              ElementsAre("_under.pk3", "a b.pk3", "alpha.pk3", "Bravo.PK3", "charlie.pk3"));
  EXPECT_THAT(files.listFiles(dir_, "*.nothing"), ElementsAre());
  EXPECT_TRUE(files.fileExists(at("ALPHA.pk3")));
  EXPECT_FALSE(files.fileExists(at("folder.pk3")));
  // The existence test counts the files a listing with normal attributes shows.
  EXPECT_FALSE(files.fileExists(at("hidden.pk3")));
  SetFileAttributesW(e2e::wide(at("hidden.pk3")).c_str(), FILE_ATTRIBUTE_SYSTEM);
  EXPECT_FALSE(files.fileExists(at("hidden.pk3"))) << "a system file";
  SetFileAttributesW(e2e::wide(at("hidden.pk3")).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(files.fileExists(at("hidden.pk3"))) << "read-only is a normal attribute";
  SetFileAttributesW(e2e::wide(at("hidden.pk3")).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(PatternTest, LongNameMatching) {
  EXPECT_TRUE(matchesPattern("a.pk3", "*.pk3"));
  EXPECT_TRUE(matchesPattern("A.PK3", "*.pk3"));
  EXPECT_TRUE(matchesPattern(".pk3", "*.pk3"));
  EXPECT_FALSE(matchesPattern("x.pk3x", "*.pk3"));
  EXPECT_FALSE(matchesPattern("pk3", "*.pk3"));
  EXPECT_TRUE(matchesPattern("a.pk3.pk3", "*.pk3"));
  EXPECT_TRUE(matchesPattern("ab.c", "a?.*"));
  EXPECT_FALSE(matchesPattern("a.c", "a?.*"));
  EXPECT_TRUE(matchesPattern("noext", "*.*"));
  EXPECT_TRUE(matchesPattern("Émile.pk3", "émile.PK3"));
}

TEST_F(FilesTest, ACopyReplacesTheTargetWholeWithTheSourcesTime) {
  // Larger than one chunk and not a multiple of it.
  std::string big(Win32FileSystem::kCopyChunk * 2 + 12345, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 4096);
  e2e::writeFile(at("src.pk3"), big);
  e2e::writeFile(at("target.pk3"), "old target");
  // An old time for the source, so that "now" would show.
  const HANDLE h = CreateFileW(e2e::wide(at("src.pk3")).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  FILETIME past{0x12345600u, 0x01d00000u};
  SetFileTime(h, nullptr, nullptr, &past);
  CloseHandle(h);

  int chunks = 0;
  files.afterCopyChunkForTesting = [&](std::uint64_t) { ++chunks; };
  files.copyFile(at("src.pk3"), at("target.pk3"));
  EXPECT_EQ(chunks, 3);
  EXPECT_EQ(e2e::readFile(at("target.pk3")), big);
  const auto source = files.facts(at("src.pk3"));
  const auto target = files.facts(at("target.pk3"));
  ASSERT_TRUE(source && target);
  EXPECT_EQ(target->size, big.size());
  EXPECT_EQ(target->lastWriteTime, source->lastWriteTime);
  EXPECT_EQ(target->lastWriteTime, (std::uint64_t{past.dwHighDateTime} << 32) | past.dwLowDateTime);
  EXPECT_THAT(names(), ElementsAre("src.pk3", "target.pk3"));

  files.copyFile(at("src.pk3"), at("new.pk3"));  // no target yet
  EXPECT_EQ(e2e::readFile(at("new.pk3")), big);
  EXPECT_THAT(names(), ElementsAre("new.pk3", "src.pk3", "target.pk3"));
}

TEST_F(FilesTest, AFailedCopyLeavesTheOldTargetAndNoTemporaryFile) {
  e2e::writeFile(at("src.pk3"), std::string(Win32FileSystem::kCopyChunk * 3, 'n'));
  e2e::writeFile(at("target.pk3"), "old target");
  // A full disk after the first chunk.
  files.afterCopyChunkForTesting = [&](std::uint64_t copied) {
    EXPECT_TRUE(files.fileExists(at("target.pk3") + Win32FileSystem::kPartialSuffix));
    EXPECT_EQ(e2e::readFile(at("target.pk3")), "old target") << "untouched while copying";
    if (copied >= Win32FileSystem::kCopyChunk) raise(err::kDiskFull);
  };
  EXPECT_EQ(errorOf([&] { files.copyFile(at("src.pk3"), at("target.pk3")); }), 61);
  EXPECT_EQ(e2e::readFile(at("target.pk3")), "old target");
  EXPECT_THAT(names(), ElementsAre("src.pk3", "target.pk3"));

  // Nobody can take the source away in the middle: the copy comes out whole.
  bool deleted = true;
  files.afterCopyChunkForTesting = [&](std::uint64_t) {
    deleted = DeleteFileW(e2e::wide(at("src.pk3")).c_str()) != 0;
  };
  files.copyFile(at("src.pk3"), at("target.pk3"));
  EXPECT_FALSE(deleted);
  EXPECT_EQ(e2e::readFile(at("target.pk3")).size(), Win32FileSystem::kCopyChunk * 3);
  EXPECT_THAT(names(), ElementsAre("src.pk3", "target.pk3"));

  // A temporary file left by a copy cut short (power loss) is replaced by the next copy.
  files.afterCopyChunkForTesting = nullptr;
  e2e::writeFile(at("target.pk3") + Win32FileSystem::kPartialSuffix, "stale");
  e2e::writeFile(at("src.pk3"), "fresh");
  files.copyFile(at("src.pk3"), at("target.pk3"));
  EXPECT_EQ(e2e::readFile(at("target.pk3")), "fresh");
  EXPECT_THAT(names(), ElementsAre("src.pk3", "target.pk3"));
}

// What runs while the disk takes a copy's data fails (a window procedure that throws): the
// error comes once the flush has ended, and the copy is whole.
TEST_F(FilesTest, AnErrorWhileAFlushWaitsComesOnceTheFlushHasEnded) {
  const std::string data(Win32FileSystem::kCopyChunk + 7, 'd');
  e2e::writeFile(at("src.pk3"), data);
  auto copy = files.stageCopy(at("src.pk3"), at("target.pk3"));
  FileCallTrace trace;
  trace.beforeFlush = [](const std::string&) { Sleep(300); };  // a slow disk
  int waits = 0;
  EXPECT_EQ(errorOf([&] {
              copy->flush([&] {
                ++waits;
                raise(err::kOutOfMemory);
              });
            }),
            7);
  EXPECT_EQ(trace.flushesUnderway(), 0) << "returned while the flush thread still ran";
  EXPECT_EQ(waits, 1) << "called again after its error";
  while (trace.flushesUnderway() > 0) Sleep(10);
  trace.beforeFlush = nullptr;
  copy->commit();
  EXPECT_EQ(e2e::readFile(at("target.pk3")), data);
  EXPECT_THAT(names(), ElementsAre("src.pk3", "target.pk3"));
}

TEST_F(FilesTest, RecordFilesHoldBytesAndAreCreatedWhenMissing) {
  const std::string path = at("Active.dat");
  {
    auto file = files.openRecordFile(path, 51);
    ASSERT_TRUE(files.fileExists(path));
    EXPECT_FALSE(file->read(1).has_value()) << "a new file is empty";
    file->write(2, std::string(50, 'b') + "0");
    file->write(1, "caf\xE9.pk3");  // padded with spaces to the record length
    EXPECT_EQ(errorOf([&] { files.deleteFile(path); }), 70) << "nobody deletes it while open";
    EXPECT_EQ(file->read(1), "caf\xE9.pk3" + std::string(43, ' '));
    EXPECT_EQ(file->read(2), std::string(50, 'b') + "0");
    EXPECT_FALSE(file->read(3).has_value());
    EXPECT_EQ(errorOf([&] { file->read(0); }), 63);
  }
  const std::string bytes = e2e::readFile(path);
  ASSERT_EQ(bytes.size(), 102u);
  EXPECT_EQ(bytes.substr(0, 9), "caf\xE9.pk3 ") << "the bytes as written";
  // An incomplete last record is no record.
  e2e::writeFile(path, bytes + "partial");
  auto again = files.openRecordFile(path, 51);
  EXPECT_TRUE(again->read(2).has_value());
  EXPECT_FALSE(again->read(3).has_value());
  again.reset();
  files.deleteFile(path);
  EXPECT_FALSE(files.fileExists(path));
}

}  // namespace
}  // namespace vcit::platform
