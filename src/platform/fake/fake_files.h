#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/fake/fake_code_page.h"
#include "platform/file_system.h"

namespace vcit::platform {

// An in-memory file system with the observable behaviour of the Windows one: paths compared
// without regard to letter case, folders that must exist, read-only and locked files, files
// held open by this program, a system code page for text in record files, and injected
// failures.
class FakeFileSystem : public FileSystem {
 public:
  struct File {
    std::string name;  // the path as it was created
    std::string bytes;
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
    bool locked = false;  // held open by another program
    int openByUs = 0;     // record files of this program that have it open
    bool heldOpen() const { return locked || openByUs > 0; }
    std::uint64_t lastWriteTime = 0;
  };

  FakeFileSystem();

  void createFolder(const std::string& path) override;
  std::vector<std::string> listFiles(const std::string& folder,
                                     const std::string& pattern) override;
  bool fileExists(const std::string& path) override;
  std::optional<FileFacts> facts(const std::string& path) override;
  void deleteFile(const std::string& path) override;
  std::unique_ptr<StagedCopy> stageCopy(const std::string& source, const std::string& target,
                                        const CopyProgress& progress = {},
                                        const std::function<void()>& beforeWriting = {}) override;
  void replaceContents(const std::string& path, const std::string& bytes) override;
  void removePartialFiles(const std::string& folder) override;
  std::unique_ptr<RecordFile> openRecordFile(const std::string& path,
                                             std::int32_t recordLength) override;
  std::unique_ptr<RecordFile> openRecordFileToRead(const std::string& path,
                                                   std::int32_t recordLength) override;
  std::unique_ptr<ReadableFile> openToRead(const std::string& path) override;
  std::optional<std::string> exactCodePageBytes(const std::string& text) const override {
    return toCodePageExactly(codePage, text);
  }
  std::string defaultCodePageBytes(const std::string& text) const override {
    return toCodePageByDefault(codePage, text);
  }

  // The system code page: code_page::kWestern, as in the Windows tests' prefix, or kUtf8.
  unsigned codePage = code_page::kWestern;

  // Test set-up and inspection.
  void addFolder(const std::string& path);  // with all missing parents
  void addFile(const std::string& path, std::string bytes);
  bool folderExists(const std::string& path) const;
  File* find(const std::string& path);
  std::string contents(const std::string& path);  // empty when missing
  std::vector<std::string> allFiles() const;      // every file's path, sorted
  int openRecordFiles() const { return openRecordFiles_; }
  int filesOpenedToRead() const { return openedToRead_; }  // by openToRead, ever
  std::uint64_t bytesCopied() const { return bytesCopied_; }
  int flushes() const { return flushes_; }  // of staged copies, each counted once
  // Copies are written (and their progress told) in chunks of this many bytes.
  std::uint64_t copyChunk = 1u << 20;

  // Called after each chunk a copy writes, with its target: a test looks at the files there,
  // as a kill at that moment would leave them.
  std::function<void(const std::string&)> whileCopying;

  // Called as a file is about to be deleted, with its path.
  std::function<void(const std::string&)> whileDeleting;

  // Called before each change that other programs would see, with its path: a file given new
  // contents (replaceContents), a copy put in place, a file deleted. A test keeps the files as
  // a kill at that moment would leave them.
  std::function<void(const std::string&)> beforeChange;

  // Failure injection: the next copy stops after this many bytes with error 61 (disk full).
  std::optional<std::uint64_t> failCopyAfterBytes;
  // replaceContents fails with error 61.
  bool failReplaceContents = false;
  // The files under this folder lie on a disk that holds this many bytes, their temporary
  // copies included; a write that finds it full fails with error 61 (after filling it).
  struct Disk {
    std::string folder;
    std::uint64_t capacity = 0;
  };
  std::optional<Disk> smallDisk;
  // createFolder fails with error 75 (as for a read-only program folder).
  bool failCreateFolder = false;
  // Files in this folder may be read but neither created nor written (error 75), as in a
  // program folder under Program Files for a standard user.
  std::optional<std::string> readOnlyFolder;

 private:
  friend class FakeRecordFile;
  friend class FakeStagedCopy;
  static std::string key(const std::string& path);
  static std::string parentOf(const std::string& path);
  void requireFolder(const std::string& path) const;
  void requireReplaceable(const std::string& target);
  void requireWritableFolder(const std::string& path) const;
  std::uint64_t tick() { return ++clock_; }
  // Bytes that may still be written at this path: unlimited off the small disk.
  std::uint64_t roomAt(const std::string& path) const;
  bool onSmallDisk(const std::string& path) const;

  std::set<std::string> folders_;
  std::map<std::string, File> files_;
  int openRecordFiles_ = 0;
  int openedToRead_ = 0;
  std::uint64_t bytesCopied_ = 0;
  int flushes_ = 0;
  std::uint64_t stagedOnSmallDisk_ = 0;  // bytes of uncommitted copies there
  std::uint64_t clock_ = 0;
};

}  // namespace vcit::platform
