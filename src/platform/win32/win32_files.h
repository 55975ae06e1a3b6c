#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/win32/text_conversion.h"

namespace vcit::platform {

// The Windows file system. Paths are UTF-8 and go to the wide functions as UTF-16; text in
// record files is in the system code page (CP_ACP) unless another is given. Windows errors become
// run-time errors: 53 a missing file, 76 a missing folder, 70 a file in use (sharing or lock
// violation), 61 a full disk, 52 a malformed name, 75 a read-only file, denied access or any
// other failure.
class Win32FileSystem : public FileSystem {
 public:
  // A buffer that stays in the processor's cache: copies of 16 x 64 MB took about half the
  // time with 64 KB chunks as with 1 or 4 MB ones, under Wine as with dd.
  static constexpr std::size_t kCopyChunk = 64u << 10;

  // The code page of text in record files (a test gives a multi-byte one, such as 932).
  explicit Win32FileSystem(unsigned codePage = win32::kSystemCodePage) : codePage_(codePage) {}

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
  std::optional<std::string> exactCodePageBytes(const std::string& text) const override;
  std::string defaultCodePageBytes(const std::string& text) const override;

  // For tests: called after each chunk a stage writes to its temporary file, with the bytes
  // written so far, to break a copy in the middle (by throwing) or to act meanwhile.
  std::function<void(std::uint64_t)> afterCopyChunkForTesting;

 private:
  unsigned codePage_;
};

// The path as the wide functions take it beyond MAX_PATH: an absolute drive path as
// "\\?\C:\...", a UNC path as "\\?\UNC\server\share\...", made whole first as the
// functions would make it without the prefix ("/" and ".." resolved, a name's trailing dots and
// spaces dropped), except that a reserved device name ("aux.pk3") stays a file's name. Relative
// paths, and paths in that form already, stay as they are.
std::wstring extendedLengthPath(const std::wstring& path);

// The run-time error number for a Windows error code (GetLastError) of a file operation.
int fileErrorNumber(unsigned long windowsError);

// True when the file name matches the pattern ('*' any run, '?' one character), ignoring
// letter case; "*.*" matches every name, as on Windows.
bool matchesPattern(const std::string& name, const std::string& pattern);

}  // namespace vcit::platform
