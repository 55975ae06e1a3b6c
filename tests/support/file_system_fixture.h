#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/file_system.h"

namespace vcit::testing {

// A file system to run the same checks against, in a folder of the test's own, with what the
// checks do behind its back: files written and read as another program would, a file held
// open by another program and a file's last-write time set.
class FileSystemWorkspace {
 public:
  virtual ~FileSystemWorkspace() = default;
  virtual platform::FileSystem& files() = 0;
  // The test's folder, new and empty.
  virtual const std::string& folder() const = 0;
  virtual void write(const std::string& path, const std::string& bytes) = 0;
  virtual std::string read(const std::string& path) = 0;  // empty when missing
  // Holds the file open, sharing nothing, until the returned object goes away.
  virtual std::shared_ptr<void> holdOpen(const std::string& path) = 0;
  virtual void setLastWriteTime(const std::string& path, std::uint64_t time) = 0;
};

struct FileSystemBackend {
  std::string name;
  std::function<std::unique_ptr<FileSystemWorkspace>()> make;
};

inline void PrintTo(const FileSystemBackend& backend, std::ostream* os) {
  *os << backend.name;
}
std::string fileSystemBackendName(const ::testing::TestParamInfo<FileSystemBackend>& info);

class FileSystemContract : public ::testing::TestWithParam<FileSystemBackend> {
 protected:
  void SetUp() override { workspace_ = GetParam().make(); }
  void TearDown() override { workspace_.reset(); }

  platform::FileSystem& files() { return workspace_->files(); }
  FileSystemWorkspace& workspace() { return *workspace_; }
  // A path in the test's folder.
  std::string at(const std::string& name) const { return workspace_->folder() + "\\" + name; }
  std::vector<std::string> everything() { return files().listFiles(workspace_->folder(), "*"); }

 private:
  std::unique_ptr<FileSystemWorkspace> workspace_;
};

// The in-memory file system, whose code page is the Windows tests' one (1252).
FileSystemBackend fakeFileSystemBackend();

}  // namespace vcit::testing
