#include "platform/fake/fake_files.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "core/runtime_error.h"
#include "core/text.h"

namespace vcit::platform {
namespace {

std::string normalize(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  while (path.size() > 1 && path.back() == '\\') path.pop_back();
  return path;
}

bool isDriveRoot(const std::string& normalized) {
  return normalized.size() == 2 && normalized[1] == ':';
}

std::string leafOf(const std::string& path) {
  const auto slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool matches(const std::string& name, const std::string& pattern) {
  if (pattern == "*" || pattern == "*.*") return true;
  if (pattern.size() > 1 && pattern[0] == '*') {
    const std::string suffix = pattern.substr(1);
    return name.size() >= suffix.size() &&
           text::equalsIgnoreCase(name.substr(name.size() - suffix.size()), suffix);
  }
  return text::equalsIgnoreCase(name, pattern);
}

}  // namespace

class FakeRecordFile : public RecordFile {
 public:
  FakeRecordFile(FakeFileSystem& fs, std::string key, std::int32_t length)
      : fs_(fs), key_(std::move(key)), length_(length) {
    ++fs_.files_.at(key_).openByUs;
    ++fs_.openRecordFiles_;
  }
  ~FakeRecordFile() override {
    if (auto it = fs_.files_.find(key_); it != fs_.files_.end()) --it->second.openByUs;
    --fs_.openRecordFiles_;
  }

  std::optional<std::string> read(std::int32_t number) override {
    if (number < 1) raise(err::kBadRecordNumber);
    const auto& bytes = fs_.files_.at(key_).bytes;
    const auto end = static_cast<std::uint64_t>(number) * static_cast<std::uint64_t>(length_);
    if (end > bytes.size()) return std::nullopt;
    return bytes.substr(static_cast<std::size_t>(end) - static_cast<std::size_t>(length_),
                        static_cast<std::size_t>(length_));
  }

  void write(std::int32_t number, const std::string& record) override {
    if (number < 1) raise(err::kBadRecordNumber);
    auto& file = fs_.files_.at(key_);
    const auto end = static_cast<std::uint64_t>(number) * static_cast<std::uint64_t>(length_);
    if (end > file.bytes.size() && end - file.bytes.size() > fs_.roomAt(key_))
      raise(err::kDiskFull);
    std::string padded = record.substr(0, static_cast<std::size_t>(length_));
    padded.resize(static_cast<std::size_t>(length_), ' ');
    const auto at = static_cast<std::size_t>(number - 1) * static_cast<std::size_t>(length_);
    if (file.bytes.size() < at + padded.size()) file.bytes.resize(at + padded.size(), '\0');
    file.bytes.replace(at, padded.size(), padded);
    file.lastWriteTime = fs_.tick();
  }

  void truncate(std::int32_t count) override {
    auto& file = fs_.files_.at(key_);
    const auto end =
        static_cast<std::uint64_t>(std::max(count, 0)) * static_cast<std::uint64_t>(length_);
    if (end < file.bytes.size()) file.bytes.resize(static_cast<std::size_t>(end));
    file.lastWriteTime = fs_.tick();
  }

 private:
  FakeFileSystem& fs_;
  std::string key_;
  std::int32_t length_;
};

FakeFileSystem::FakeFileSystem() {
  folders_.insert(key("C:"));
}

std::string FakeFileSystem::key(const std::string& path) {
  return text::foldCase(normalize(path));
}

std::string FakeFileSystem::parentOf(const std::string& path) {
  const std::string n = normalize(path);
  const auto slash = n.find_last_of('\\');
  return slash == std::string::npos ? std::string() : n.substr(0, slash);
}

bool FakeFileSystem::folderExists(const std::string& path) const {
  return folders_.count(key(path)) != 0;
}

void FakeFileSystem::requireFolder(const std::string& path) const {
  if (!folderExists(path)) raise(err::kPathNotFound);
}

void FakeFileSystem::requireWritableFolder(const std::string& path) const {
  requireFolder(parentOf(path));
  if (readOnlyFolder && key(*readOnlyFolder) == key(parentOf(path)))
    raise(err::kPathFileAccessError);
}

void FakeFileSystem::createFolder(const std::string& path) {
  if (failCreateFolder) raise(err::kPathFileAccessError);
  const std::string n = normalize(path);
  if (folderExists(n) || files_.count(key(n))) raise(err::kPathFileAccessError);
  requireFolder(parentOf(n));
  folders_.insert(key(n));
}

void FakeFileSystem::addFolder(const std::string& path) {
  std::string n = normalize(path);
  while (!n.empty() && !isDriveRoot(n) && !folderExists(n)) {
    folders_.insert(key(n));
    n = parentOf(n);
  }
  if (!n.empty()) folders_.insert(key(n));
}

void FakeFileSystem::addFile(const std::string& path, std::string bytes) {
  addFolder(parentOf(path));
  auto& file = files_[key(path)];
  file.name = normalize(path);
  file.bytes = std::move(bytes);
  file.lastWriteTime = tick();
}

FakeFileSystem::File* FakeFileSystem::find(const std::string& path) {
  const auto it = files_.find(key(path));
  return it == files_.end() ? nullptr : &it->second;
}

std::string FakeFileSystem::contents(const std::string& path) {
  const File* f = find(path);
  return f ? f->bytes : std::string();
}

std::vector<std::string> FakeFileSystem::allFiles() const {
  std::vector<std::string> out;
  for (const auto& [k, f] : files_) out.push_back(f.name);
  return out;
}

std::vector<std::string> FakeFileSystem::listFiles(const std::string& folder,
                                                   const std::string& pattern) {
  requireFolder(folder);
  const std::string folderKey = key(folder);
  std::vector<std::pair<std::string, std::string>> found;  // folded, as named
  for (const auto& [k, f] : files_) {
    if (parentOf(k) != folderKey) continue;  // the key is the folded path
    std::string leaf = leafOf(f.name);
    if (matches(leaf, pattern)) found.emplace_back(text::foldCase(leaf), std::move(leaf));
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> names;
  for (auto& [folded, name] : found) names.push_back(std::move(name));
  return names;
}

bool FakeFileSystem::fileExists(const std::string& path) {
  const File* f = find(path);
  return f != nullptr && !f->hidden && !f->system;
}

std::optional<FileFacts> FakeFileSystem::facts(const std::string& path) {
  const File* f = find(path);
  if (!f) return std::nullopt;
  return FileFacts{f->bytes.size(), f->lastWriteTime};
}

void FakeFileSystem::deleteFile(const std::string& path) {
  if (beforeChange) beforeChange(path);
  if (whileDeleting) whileDeleting(path);
  requireFolder(parentOf(path));
  File* f = find(path);
  if (!f) raise(err::kFileNotFound);
  if (f->readOnly) raise(err::kPathFileAccessError);
  if (f->heldOpen()) raise(err::kPermissionDenied);  // a sharing violation
  files_.erase(key(path));
}

bool FakeFileSystem::onSmallDisk(const std::string& path) const {
  if (!smallDisk) return false;
  const std::string folder = key(smallDisk->folder) + "\\";
  return key(path).rfind(folder, 0) == 0;
}

std::uint64_t FakeFileSystem::roomAt(const std::string& path) const {
  if (!onSmallDisk(path)) return std::numeric_limits<std::uint64_t>::max();
  std::uint64_t used = stagedOnSmallDisk_;
  for (const auto& [k, f] : files_)
    if (onSmallDisk(k)) used += f.bytes.size();
  return used >= smallDisk->capacity ? 0 : smallDisk->capacity - used;
}

void FakeFileSystem::requireReplaceable(const std::string& target) {
  requireFolder(parentOf(target));
  if (const File* old = find(target)) {
    if (old->readOnly) raise(err::kPathFileAccessError);
    if (old->heldOpen()) raise(err::kPermissionDenied);
  }
}

// The temporary file is not modelled: until the commit, the copy is only these bytes (which
// take room on the small disk).
class FakeStagedCopy : public StagedCopy {
 public:
  FakeStagedCopy(FakeFileSystem& files, std::string target, std::string bytes,
                 std::uint64_t lastWriteTime)
      : files_(files),
        target_(std::move(target)),
        bytes_(std::move(bytes)),
        lastWriteTime_(lastWriteTime),
        room_(files_.onSmallDisk(target_) ? bytes_.size() : 0) {
    files_.stagedOnSmallDisk_ += room_;
  }
  ~FakeStagedCopy() override { files_.stagedOnSmallDisk_ -= room_; }
  FakeStagedCopy(const FakeStagedCopy&) = delete;
  FakeStagedCopy& operator=(const FakeStagedCopy&) = delete;

  // The disk takes a moment, as it does: whileWaiting runs once, and what it throws comes
  // after the flush.
  void flush(const std::function<void()>& whileWaiting) override {
    if (!flushed_) ++files_.flushes_;
    flushed_ = true;
    if (whileWaiting) whileWaiting();
  }

  void commit() override {
    if (committed_) return;
    if (files_.beforeChange) files_.beforeChange(target_);
    files_.requireReplaceable(target_);
    flush({});
    auto& file = files_.files_[FakeFileSystem::key(target_)];
    file.name = normalize(target_);
    file.bytes = std::move(bytes_);
    file.lastWriteTime = lastWriteTime_;
    files_.stagedOnSmallDisk_ -= room_;
    room_ = 0;
    committed_ = true;
  }

 private:
  FakeFileSystem& files_;
  std::string target_;
  std::string bytes_;
  std::uint64_t lastWriteTime_;
  std::uint64_t room_;
  bool flushed_ = false;
  bool committed_ = false;
};

std::unique_ptr<StagedCopy> FakeFileSystem::stageCopy(const std::string& source,
                                                      const std::string& target,
                                                      const CopyProgress& progress,
                                                      const std::function<void()>& beforeWriting) {
  const File* src = find(source);
  if (!src) {
    requireFolder(parentOf(source));
    raise(err::kFileNotFound);
  }
  // The source is opened to read, sharing only reading: a writer that has it open refuses.
  if (src->heldOpen()) raise(err::kPermissionDenied);
  requireReplaceable(target);
  std::string bytes = src->bytes;
  const std::uint64_t mtime = src->lastWriteTime;
  if (beforeWriting) {
    // The source stays open meanwhile.
    const std::string sourceKey = key(source);
    ++files_.at(sourceKey).openByUs;
    struct Release {
      FakeFileSystem& fs;
      const std::string& key;
      ~Release() {
        if (auto it = fs.files_.find(key); it != fs.files_.end()) --it->second.openByUs;
      }
    } release{*this, sourceKey};
    beforeWriting();
  }
  std::uint64_t limit = bytes.size();
  if (failCopyAfterBytes) {
    limit = std::min<std::uint64_t>(limit, *failCopyAfterBytes);
    failCopyAfterBytes.reset();
  }
  limit = std::min(limit, roomAt(target));
  // Written chunk by chunk, as a real copy, up to the injected failure.
  const std::uint64_t chunk = std::max<std::uint64_t>(copyChunk, 1);
  for (std::uint64_t done = 0; done < limit;) {
    done = std::min(done + chunk, limit);
    if (progress) progress(done);
    if (whileCopying) whileCopying(target);
  }
  bytesCopied_ += limit;  // a failed copy wrote this much to its temporary file
  if (limit < bytes.size()) raise(err::kDiskFull);
  return std::make_unique<FakeStagedCopy>(*this, target, std::move(bytes), mtime);
}

void FakeFileSystem::replaceContents(const std::string& path, const std::string& bytes) {
  if (beforeChange) beforeChange(path);
  requireWritableFolder(path);
  if (const File* old = find(path)) {
    if (old->readOnly) raise(err::kPathFileAccessError);
    if (old->heldOpen()) raise(err::kPermissionDenied);
  }
  // The new contents are written beside the old ones before they take their place.
  if (failReplaceContents || bytes.size() > roomAt(path)) raise(err::kDiskFull);
  auto& file = files_[key(path)];
  file.name = normalize(path);
  file.bytes = bytes;
  file.lastWriteTime = tick();
}

void FakeFileSystem::removePartialFiles(const std::string& folder) {
  if (!folderExists(folder)) return;
  const std::string folderKey = key(folder);
  const std::string suffix = kPartialSuffix;
  for (auto it = files_.begin(); it != files_.end();) {
    const File& f = it->second;
    const bool partial =
        key(parentOf(f.name)) == folderKey && f.name.size() > suffix.size() &&
        text::equalsIgnoreCase(f.name.substr(f.name.size() - suffix.size()), suffix);
    if (partial && !f.heldOpen())
      it = files_.erase(it);
    else
      ++it;
  }
}

std::unique_ptr<RecordFile> FakeFileSystem::openRecordFile(const std::string& path,
                                                           std::int32_t recordLength) {
  requireWritableFolder(path);
  File* f = find(path);
  if (f && f->readOnly) raise(err::kPathFileAccessError);
  if (f && f->locked) raise(err::kPermissionDenied);
  if (!f) {
    auto& file = files_[key(path)];
    file.name = normalize(path);
    file.lastWriteTime = tick();
  }
  return std::make_unique<FakeRecordFile>(*this, key(path), recordLength);
}

std::unique_ptr<RecordFile> FakeFileSystem::openRecordFileToRead(const std::string& path,
                                                                 std::int32_t recordLength) {
  requireFolder(parentOf(path));
  const File* f = find(path);
  if (!f) return nullptr;
  if (f->locked) raise(err::kPermissionDenied);
  return std::make_unique<FakeRecordFile>(*this, key(path), recordLength);
}

}  // namespace vcit::platform

namespace vcit::platform {

namespace {

// The file's bytes as they were when it was opened.
class FakeReadableFile : public ReadableFile {
 public:
  explicit FakeReadableFile(std::string bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t size() override { return bytes_.size(); }
  std::string readAt(std::uint64_t offset, std::size_t count) override {
    if (offset >= bytes_.size()) return {};
    return bytes_.substr(static_cast<std::size_t>(offset), count);
  }

 private:
  std::string bytes_;
};

}  // namespace

std::unique_ptr<ReadableFile> FakeFileSystem::openToRead(const std::string& path) {
  requireFolder(parentOf(path));
  const File* f = find(path);
  if (!f) return nullptr;
  if (f->locked) raise(err::kPermissionDenied);  // opened by another program without sharing
  ++openedToRead_;
  return std::make_unique<FakeReadableFile>(f->bytes);
}

}  // namespace vcit::platform
