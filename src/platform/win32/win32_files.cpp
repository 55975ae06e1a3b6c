#include "platform/win32/win32_files.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <future>
#include <system_error>
#include <vector>

#include "core/runtime_error.h"
#include "core/text.h"
#include "platform/win32/path_query.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/text_conversion.h"

namespace vcit::platform {
namespace {

using win32::UniqueFindHandle;
using win32::UniqueHandle;
using win32::widen;

std::wstring longPath(const std::string& path) {
  return extendedLengthPath(widen(path));
}

[[noreturn]] void raiseLastError() {
  raise(fileErrorNumber(GetLastError()));
}

std::uint64_t toUint64(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::wstring withoutTrailingSeparators(std::wstring path) {
  while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

// Removes the temporary file of a copy unless the copy was committed.
class PartialFile {
 public:
  explicit PartialFile(std::wstring path) : path_(std::move(path)) {}
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;
  ~PartialFile() {
    if (!committed_) DeleteFileW(path_.c_str());
  }
  const std::wstring& path() const { return path_; }
  void commit() { committed_ = true; }

 private:
  std::wstring path_;
  bool committed_ = false;
};

// The rename that commits a copy would replace a read-only or busy target without asking;
// such a target is an error, found before any data moves.
void requireReplaceable(const std::wstring& target) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (const DWORD error = GetLastError(); error != ERROR_FILE_NOT_FOUND)
      raise(fileErrorNumber(error));
    return;
  }
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
    raise(err::kPathFileAccessError);
  UniqueHandle probe(CreateFileW(target.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe) raiseLastError();
}

void seekTo(HANDLE file, std::uint64_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) raiseLastError();
}

void writeAll(HANDLE file, const char* data, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr)) raiseLastError();
    if (written == 0) raise(err::kDiskFull);
    data += written;
    size -= written;
  }
}

// Up to `size` bytes of the file from `at` on (fewer where it ends), read at that position in
// pieces a DWORD can count.
std::string readAt(HANDLE file, std::uint64_t at, std::size_t size) {
  std::string bytes(size, '\0');
  std::size_t got = 0;
  while (got < size) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(at + got);
    position.OffsetHigh = static_cast<DWORD>((at + got) >> 32);
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size - got, 1u << 30));
    DWORD n = 0;
    if (!ReadFile(file, bytes.data() + got, piece, &n, &position)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      raiseLastError();
    }
    if (n == 0) break;
    got += n;
  }
  bytes.resize(got);
  return bytes;
}

// FlushFileBuffers, on a thread of its own when there is something to do meanwhile: the
// window's thread goes on answering (a screen reader's calls) while the disk takes the data.
// Whatever happens meanwhile, the flush is waited for to its end before this returns (the
// future of std::async waits for its thread when it goes), so the thread never outlives the
// file or its result; an error of whileWaiting ends the calls of it and comes after the flush.
BOOL flushWhileWaiting(HANDLE file, const std::function<void()>& whileWaiting) {
  struct Result {
    BOOL ok;
    DWORD error;
  };
  std::future<Result> flushing;
  if (whileWaiting) {
    try {
      flushing = std::async(std::launch::async, [file] {
        const BOOL ok = FlushFileBuffers(file);
        return Result{ok, GetLastError()};
      });
    } catch (const std::system_error&) {
      // No thread to be had: the flush is made here.
    }
  }
  if (!flushing.valid()) return FlushFileBuffers(file);
  std::exception_ptr waitingError;
  while (flushing.wait_for(std::chrono::milliseconds(40)) == std::future_status::timeout) {
    if (waitingError) continue;
    try {
      whileWaiting();
    } catch (...) {
      waitingError = std::current_exception();
    }
  }
  const Result result = flushing.get();
  if (waitingError) std::rethrow_exception(waitingError);
  SetLastError(result.error);
  return result.ok;
}

// The temporary file of a copy stays open, so nobody else can take or change it, until the
// commit closes it and renames it over the target.
struct Win32StagedCopy : StagedCopy {
  explicit Win32StagedCopy(std::wstring targetPath)
      : target(std::move(targetPath)), partial(target + widen(FileSystem::kPartialSuffix)) {}

  void flush(const std::function<void()>& whileWaiting) override {
    if (flushed) return;
    if (!flushWhileWaiting(out.get(), whileWaiting)) raiseLastError();
    flushed = true;
  }

  void commit() override {
    flush({});
    out.reset();
    if (!MoveFileExW(partial.path().c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      raiseLastError();
    partial.commit();
  }

  std::wstring target;
  PartialFile partial;
  UniqueHandle out;  // after partial: closed before the partial file is removed
  bool flushed = false;
};

class Win32RecordFile : public RecordFile {
 public:
  Win32RecordFile(UniqueHandle file, std::int32_t length)
      : file_(std::move(file)), length_(length) {}

  std::optional<std::string> read(std::int32_t number) override {
    std::string bytes = readRecords(number, 1);
    if (bytes.empty()) return std::nullopt;
    return bytes;
  }

  // One read for all of them: start-up reads up to 32767 records at once.
  std::string readRecords(std::int32_t first, std::int32_t count) override {
    if (first < 1 || length_ < 1) raise(err::kBadRecordNumber);
    if (count < 1) return {};
    const auto length = static_cast<std::size_t>(length_);
    std::string bytes =
        readAt(file_.get(), offsetOf(first), static_cast<std::size_t>(count) * length);
    bytes.resize(bytes.size() / length * length);  // whole records only
    return bytes;
  }

  void write(std::int32_t number, const std::string& record) override {
    if (number < 1 || length_ < 1) raise(err::kBadRecordNumber);
    std::string bytes = record;
    bytes.resize(static_cast<std::size_t>(length_), ' ');
    seekTo(file_.get(), offsetOf(number));
    writeAll(file_.get(), bytes.data(), bytes.size());
  }

  void truncate(std::int32_t count) override {
    seekTo(file_.get(), offsetOf(std::max(count, 0) + 1));
    if (!SetEndOfFile(file_.get()) || !FlushFileBuffers(file_.get())) raiseLastError();
  }

 private:
  std::uint64_t offsetOf(std::int32_t number) const {
    return static_cast<std::uint64_t>(number - 1) * static_cast<std::uint64_t>(length_);
  }

  UniqueHandle file_;
  std::int32_t length_;
};

// A file opened only to read pieces of it, at positions of their own (no shared file pointer).
class Win32ReadableFile : public ReadableFile {
 public:
  explicit Win32ReadableFile(UniqueHandle file) : file_(std::move(file)) {}

  std::uint64_t size() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.get(), &size)) raiseLastError();
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  std::string readAt(std::uint64_t offset, std::size_t count) override {
    return platform::readAt(file_.get(), offset, count);
  }

 private:
  UniqueHandle file_;
};

// GetFullPathNameW's form of the path; empty when it fails.
std::wstring fullPathOf(const std::wstring& path) {
  return win32::queryPath([&](wchar_t* buffer, DWORD size) {
    return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
  });
}

}  // namespace

std::wstring extendedLengthPath(const std::wstring& path) {
  const auto separator = [&](std::size_t i) {
    return i < path.size() && (path[i] == L'\\' || path[i] == L'/');
  };
  const bool drive = path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && separator(2);
  const bool unc = separator(0) && separator(1) && path.size() > 2;
  const bool prefixed =
      unc && path.size() >= 4 && (path[2] == L'?' || path[2] == L'.') && separator(3);
  if ((!drive && !unc) || prefixed) return path;
  // Only the folder is made whole; the name is joined to it here. Made whole along with it, a
  // reserved device name ("aux.pk3", "con.pk3") would become the device ("\\.\aux").
  const std::size_t split = path.find_last_of(L"\\/") + 1;
  std::wstring name = path.substr(split);
  const bool dots = name == L"." || name == L"..";
  std::wstring full = fullPathOf(dots ? path : path.substr(0, split));
  if (full.empty()) return path;
  if (!dots) {
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
    if (!name.empty() && full.back() != L'\\') full += L'\\';
    full += name;
  }
  if (full.size() >= 2 && full[0] == L'\\' && full[1] == L'\\')
    return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

int fileErrorNumber(unsigned long windowsError) {
  switch (windowsError) {
    case ERROR_FILE_NOT_FOUND:
      return err::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
      return err::kPathNotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return err::kPermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return err::kDiskFull;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
      return err::kBadFileNameOrNumber;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return err::kOutOfMemory;
    default:
      return err::kPathFileAccessError;
  }
}

bool matchesPattern(const std::string& name, const std::string& pattern) {
  if (pattern == "*" || pattern == "*.*") return true;
  const std::wstring n = widen(text::foldCase(name));
  const std::wstring p = widen(text::foldCase(pattern));
  // Greedy matching with one backtrack point: the last '*' seen.
  std::size_t i = 0, j = 0, star = std::wstring::npos, resume = 0;
  while (i < n.size()) {
    if (j < p.size() && (p[j] == L'?' || p[j] == n[i])) {
      ++i;
      ++j;
    } else if (j < p.size() && p[j] == L'*') {
      star = j++;
      resume = i;
    } else if (star != std::wstring::npos) {
      j = star + 1;
      i = ++resume;
    } else {
      return false;
    }
  }
  while (j < p.size() && p[j] == L'*') ++j;
  return j == p.size();
}

void Win32FileSystem::createFolder(const std::string& path) {
  if (!CreateDirectoryW(extendedLengthPath(withoutTrailingSeparators(widen(path))).c_str(),
                        nullptr))
    raiseLastError();
}

std::vector<std::string> Win32FileSystem::listFiles(const std::string& folder,
                                                    const std::string& pattern) {
  const std::wstring query =
      extendedLengthPath(withoutTrailingSeparators(widen(folder))) + L"\\" + widen(pattern);
  WIN32_FIND_DATAW entry{};
  UniqueFindHandle find(
      FindFirstFileExW(query.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
  std::vector<std::string> names;
  if (find.get() == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return names;
    raise(fileErrorNumber(error));
  }
  constexpr DWORD kNotNormal = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                               FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
  do {
    if (entry.dwFileAttributes & kNotNormal) continue;
    // Windows also matches the 8.3 short name ("LONG~1.PK3" for "long.pk3x"); the list holds
    // only what the long name matches.
    std::string name = win32::narrow(entry.cFileName, wcslen(entry.cFileName));
    if (matchesPattern(name, pattern)) names.push_back(std::move(name));
  } while (FindNextFileW(find.get(), &entry));
  if (GetLastError() != ERROR_NO_MORE_FILES) raiseLastError();
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string fa = text::foldCase(a), fb = text::foldCase(b);
    return fa != fb ? fa < fb : a < b;
  });
  return names;
}

bool Win32FileSystem::fileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(longPath(path).c_str());
  // What a listing with normal attributes shows: no folder, no hidden or system file.
  constexpr DWORD kNotNormal =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & kNotNormal);
}

std::optional<FileFacts> Win32FileSystem::facts(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(longPath(path).c_str(), GetFileExInfoStandard, &data))
    return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  FileFacts facts;
  facts.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  facts.lastWriteTime = toUint64(data.ftLastWriteTime);
  return facts;
}

void Win32FileSystem::deleteFile(const std::string& path) {
  // A copy to this path that was cut short (the process killed, the power lost) left its
  // temporary file; a package that is no longer wanted takes that with it.
  DeleteFileW(longPath(path + kPartialSuffix).c_str());
  if (!DeleteFileW(longPath(path).c_str())) raiseLastError();
}

std::unique_ptr<StagedCopy> Win32FileSystem::stageCopy(const std::string& source,
                                                       const std::string& target,
                                                       const CopyProgress& progress,
                                                       const std::function<void()>& beforeWriting) {
  const std::wstring from = longPath(source);
  const std::wstring to = longPath(target);

  // Others may read the source meanwhile, but nobody may change or delete it.
  UniqueHandle in(CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!in) raiseLastError();
  FILETIME sourceTime{};
  if (!GetFileTime(in.get(), nullptr, nullptr, &sourceTime)) raiseLastError();

  requireReplaceable(to);
  if (beforeWriting) beforeWriting();

  auto copy = std::make_unique<Win32StagedCopy>(to);
  copy->out = UniqueHandle(CreateFileW(copy->partial.path().c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!copy->out) raiseLastError();
  std::vector<char> buffer(kCopyChunk);
  std::uint64_t copied = 0;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(in.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
      raiseLastError();
    if (got == 0) break;
    writeAll(copy->out.get(), buffer.data(), got);
    copied += got;
    if (afterCopyChunkForTesting) afterCopyChunkForTesting(copied);
    if (progress) progress(copied);
  }
  if (!SetFileTime(copy->out.get(), nullptr, nullptr, &sourceTime)) raiseLastError();
  return copy;
}

std::unique_ptr<RecordFile> Win32FileSystem::openRecordFile(const std::string& path,
                                                            std::int32_t recordLength) {
  const std::wstring name = longPath(path);
  // Windows refuses write access to a read-only file; so does this, also where the file
  // system would let the user write anyway (Wine run as root).
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    raise(err::kPathFileAccessError);
  // Others may read and write it, as random files allow, but nobody may delete it while open.
  UniqueHandle file(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) raiseLastError();
  return std::make_unique<Win32RecordFile>(std::move(file), recordLength);
}

std::unique_ptr<RecordFile> Win32FileSystem::openRecordFileToRead(const std::string& path,
                                                                  std::int32_t recordLength) {
  UniqueHandle file(CreateFileW(longPath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return nullptr;
    raiseLastError();
  }
  return std::make_unique<Win32RecordFile>(std::move(file), recordLength);
}

std::unique_ptr<ReadableFile> Win32FileSystem::openToRead(const std::string& path) {
  // Shared with every reader, writer and deleter: the game or a copy may go on meanwhile.
  UniqueHandle file(CreateFileW(longPath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return nullptr;
    raiseLastError();
  }
  return std::make_unique<Win32ReadableFile>(std::move(file));
}

void Win32FileSystem::replaceContents(const std::string& path, const std::string& bytes) {
  const std::wstring target = longPath(path);
  // The rename would replace a read-only file without asking; Windows refuses to write one.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    raise(err::kPathFileAccessError);
  PartialFile partial(target + widen(kPartialSuffix));
  {
    UniqueHandle out(CreateFileW(partial.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) raiseLastError();
    writeAll(out.get(), bytes.data(), bytes.size());
    if (!FlushFileBuffers(out.get())) raiseLastError();
  }
  if (!MoveFileExW(partial.path().c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    raiseLastError();
  partial.commit();
}

void Win32FileSystem::removePartialFiles(const std::string& folder) {
  std::vector<std::string> names;
  try {
    names = listFiles(folder, std::string("*") + kPartialSuffix);
  } catch (const RuntimeError&) {
    return;  // no folder, no leftovers
  }
  // A copy going on holds its file open without sharing it: that one fails here and stays.
  const std::wstring base = extendedLengthPath(withoutTrailingSeparators(widen(folder))) + L"\\";
  for (const std::string& name : names) DeleteFileW((base + widen(name)).c_str());
}

std::optional<std::string> Win32FileSystem::exactCodePageBytes(const std::string& text) const {
  return win32::toCodePageExactly(text, codePage_);
}

std::string Win32FileSystem::defaultCodePageBytes(const std::string& text) const {
  return win32::toCodePage(text, codePage_);
}

}  // namespace vcit::platform
