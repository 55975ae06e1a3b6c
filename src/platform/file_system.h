#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vcit::platform {

// A file opened for random access in fixed-length records, numbered from 1, of bytes as the
// file holds them (text in them is in the code page: FileSystem::recordBytes). Closed when the
// object goes away.
class RecordFile {
 public:
  virtual ~RecordFile() = default;
  // The record's bytes, or nothing when no whole record is there.
  virtual std::optional<std::string> read(std::int32_t number) = 0;
  // Writes the record's bytes, padded with spaces or cut to the record length.
  virtual void write(std::int32_t number, const std::string& bytes) = 0;
};

struct FileFacts {
  std::uint64_t size = 0;
  std::uint64_t lastWriteTime = 0;  // 100-ns units, the file system's own clock
};

// Files and folders. Paths are UTF-8 text joined with backslashes. Failures raise numbered
// run-time errors: 53 a missing file, 76 a missing folder, 70 a file in use (locked),
// 61 a full disk, 75 a read-only file or any other access failure.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual void createFolder(const std::string& path) = 0;
  // The names (name and extension) of the folder's normal files whose long name matches the
  // pattern ("*.pk3"), in the list's order: by name, ignoring letter case.
  virtual std::vector<std::string> listFiles(const std::string& folder,
                                             const std::string& pattern) = 0;
  // True when a file with normal attributes exists at exactly this path: not a folder, not
  // hidden and not a system file (read-only and archived files count).
  virtual bool fileExists(const std::string& path) = 0;
  virtual std::optional<FileFacts> facts(const std::string& path) = 0;
  // Deletes the file, and what an interrupted copy to this path left beside it.
  virtual void deleteFile(const std::string& path) = 0;
  // Copies source over target without ever leaving a partly written target: the data goes to
  // a temporary file beside the target, is flushed, and then replaces the target. The copy
  // keeps the source's last-write time. A failed copy leaves the old target as it was.
  virtual void copyFile(const std::string& source, const std::string& target) = 0;
  // Opens (creating when missing) a file for random access with the given record length.
  virtual std::unique_ptr<RecordFile> openRecordFile(const std::string& path,
                                                     std::int32_t recordLength) = 0;
  // Text as record files store it: in the system's 8-bit (ANSI) code page, one byte per
  // character in a single-byte one, one or more in a multi-byte one. A character the code page
  // lacks becomes the page's replacement ("?"), as at every "A" call, so names that differ only
  // there store alike.
  virtual std::string recordBytes(const std::string& text) const = 0;
};

}  // namespace vcit::platform
