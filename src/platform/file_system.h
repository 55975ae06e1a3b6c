#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vcit::platform {

// A file opened for random access in fixed-length records, numbered from 1, of bytes as the
// file holds them (text in them is in the code page: FileSystem::exactCodePageBytes). Closed when
// the object goes away.
class RecordFile {
 public:
  virtual ~RecordFile() = default;
  // The record's bytes, or nothing when no whole record is there.
  virtual std::optional<std::string> read(std::int32_t number) = 0;
  // Writes the record's bytes, padded with spaces or cut to the record length.
  virtual void write(std::int32_t number, const std::string& bytes) = 0;
  // Keeps the first `count` records and cuts the file after them, on the disk when it returns.
  // Needs no free room. (Read-only views of records need not offer it.)
  virtual void truncate(std::int32_t /*count*/) {
    throw std::logic_error("this record file cannot be cut");
  }
  // The bytes of the whole records from record `first` on, at most `count` of them: fewer
  // where the file ends first.
  virtual std::string readRecords(std::int32_t first, std::int32_t count) {
    std::string bytes;
    for (std::int32_t n = first; n - first < count; ++n) {
      std::optional<std::string> record = read(n);
      if (!record) break;
      bytes += *record;
    }
    return bytes;
  }
};

// A copy written to a temporary file beside its target and not yet in its place. Gone without
// commit, it removes its temporary file and leaves the target as it was.
class StagedCopy {
 public:
  virtual ~StagedCopy() = default;
  // Puts the copy's data on the disk. The disk may take seconds: whileWaiting, when given, is
  // called every few hundredths of a second until it is done.
  virtual void flush(const std::function<void()>& whileWaiting = {}) = 0;
  // Flushes (unless done) and replaces the target with the copy, keeping the source's
  // last-write time.
  virtual void commit() = 0;
};

// A file opened only to read pieces of it. Others may read, write, rename or delete it
// meanwhile: it is never locked.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  virtual std::uint64_t size() = 0;
  // Up to `count` bytes from `offset` on: fewer only where the file ends.
  virtual std::string readAt(std::uint64_t offset, std::size_t count) = 0;
};

// Told, while a copy is written, how many of its bytes are written so far.
using CopyProgress = std::function<void(std::uint64_t)>;

struct FileFacts {
  std::uint64_t size = 0;
  std::uint64_t lastWriteTime = 0;  // 100-ns units, the file system's own clock
};

// Files and folders. Paths are UTF-8 text joined with backslashes. Failures raise numbered
// run-time errors: 53 a missing file, 76 a missing folder, 70 a file in use (locked),
// 61 a full disk, 75 a read-only file or any other access failure.
class FileSystem {
 public:
  // What a copy or a replacement writes before it takes its target's place: a file of the
  // target's name followed by this. The game loads only "*.pk3", so one left behind by a copy
  // cut short (power loss) is nothing it would load.
  static constexpr const char* kPartialSuffix = ".vcit-partial";

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
  // Writes a copy of source to a temporary file beside target, after checking that target
  // may be replaced (not read-only, not in use); the copy replaces target only on commit, so
  // a partly written target never exists. A failure leaves the old target as it was.
  // beforeWriting, when given, runs once the source is open (held so that nobody may change or
  // delete it until the copy is written) and the target found replaceable, before the first
  // byte is written: a copy that fails on its source or target does not run it.
  virtual std::unique_ptr<StagedCopy> stageCopy(
      const std::string& source, const std::string& target, const CopyProgress& progress = {},
      const std::function<void()>& beforeWriting = {}) = 0;
  // Copies source over target: stages, flushes and commits the copy.
  void copyFile(const std::string& source, const std::string& target) {
    stageCopy(source, target)->commit();
  }
  // Gives the file these contents in one step that nothing can cut short: they are written to
  // a temporary file beside it, flushed, and renamed over it, write-through. A failure leaves
  // the old file (or none) as it was.
  virtual void replaceContents(const std::string& path, const std::string& bytes) = 0;
  // Removes from the folder the temporary files that copies cut short left there. Every other
  // file stays, and so does one still in use (a copy going on). A missing folder has none.
  virtual void removePartialFiles(const std::string& folder) = 0;
  // Opens (creating when missing) a file for random access with the given record length.
  virtual std::unique_ptr<RecordFile> openRecordFile(const std::string& path,
                                                     std::int32_t recordLength) = 0;
  // Opens an existing file to read its records, also where it may not be written; none when
  // the file does not exist.
  virtual std::unique_ptr<RecordFile> openRecordFileToRead(const std::string& path,
                                                           std::int32_t recordLength) = 0;
  // Opens an existing file to read pieces of it; none when it does not exist.
  virtual std::unique_ptr<ReadableFile> openToRead(const std::string& path) = 0;
  // Text in the system's 8-bit (ANSI) code page when the page holds each of its characters
  // exactly (one byte per character in a single-byte page, one or two in a double-byte one);
  // nothing when the page's "?" or a best-fit look-alike would have to stand in for one.
  virtual std::optional<std::string> exactCodePageBytes(const std::string& text) const = 0;
  // Text in the code page by the page's default conversion, as the "A" functions get it:
  // best-fit look-alikes ("Ω" as "O" in Windows-1252) and "?" for the rest.
  virtual std::string defaultCodePageBytes(const std::string& text) const = 0;
};

}  // namespace vcit::platform
