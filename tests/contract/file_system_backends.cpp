#include "file_system_backends.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/win32_files.h"
#include "support/e2e_files.h"
#include "support/e2e_text.h"
#endif

namespace vcit::testing {

#ifdef _WIN32
namespace {

class Win32Workspace : public FileSystemWorkspace {
 public:
  Win32Workspace() : folder_(e2e::newTempFolder("file-contract")) {}
  ~Win32Workspace() override { e2e::removeTree(folder_); }

  platform::FileSystem& files() override { return files_; }
  const std::string& folder() const override { return folder_; }
  void write(const std::string& path, const std::string& bytes) override {
    e2e::writeFile(path, bytes);
  }
  std::string read(const std::string& path) override { return e2e::readFile(path); }
  std::shared_ptr<void> holdOpen(const std::string& path) override {
    const HANDLE handle = CreateFileW(e2e::wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE) << path;
    return std::shared_ptr<void>(handle, [](HANDLE h) {
      if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    });
  }
  void setLastWriteTime(const std::string& path, std::uint64_t time) override {
    const HANDLE handle = CreateFileW(e2e::wide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE) << path;
    const FILETIME at{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    EXPECT_TRUE(SetFileTime(handle, nullptr, nullptr, &at)) << path;
    CloseHandle(handle);
  }

 private:
  platform::Win32FileSystem files_;
  std::string folder_;
};

}  // namespace
#endif

std::vector<FileSystemBackend> fileSystemBackends() {
  std::vector<FileSystemBackend> backends{fakeFileSystemBackend()};
#ifdef _WIN32
  backends.push_back({"Win32", [] { return std::make_unique<Win32Workspace>(); }});
#endif
  return backends;
}

}  // namespace vcit::testing
