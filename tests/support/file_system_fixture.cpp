#include "support/file_system_fixture.h"

#include "platform/fake/fake_files.h"

namespace vcit::testing {
namespace {

class FakeWorkspace : public FileSystemWorkspace {
 public:
  FakeWorkspace() { files_.addFolder(folder_); }

  platform::FileSystem& files() override { return files_; }
  const std::string& folder() const override { return folder_; }
  void write(const std::string& path, const std::string& bytes) override {
    files_.addFile(path, bytes);
  }
  std::string read(const std::string& path) override { return files_.contents(path); }
  std::shared_ptr<void> holdOpen(const std::string& path) override {
    platform::FakeFileSystem::File* file = files_.find(path);
    EXPECT_NE(file, nullptr) << path;
    if (file) file->locked = true;
    return std::shared_ptr<void>(nullptr, [this, path](void*) {
      if (platform::FakeFileSystem::File* held = files_.find(path)) held->locked = false;
    });
  }
  void setLastWriteTime(const std::string& path, std::uint64_t time) override {
    platform::FakeFileSystem::File* file = files_.find(path);
    ASSERT_NE(file, nullptr) << path;
    file->lastWriteTime = time;
  }

 private:
  platform::FakeFileSystem files_;
  std::string folder_ = "C:\\Contract";
};

}  // namespace

std::string fileSystemBackendName(const ::testing::TestParamInfo<FileSystemBackend>& info) {
  return info.param.name;
}

FileSystemBackend fakeFileSystemBackend() {
  return {"Fake", [] { return std::make_unique<FakeWorkspace>(); }};
}

}  // namespace vcit::testing
