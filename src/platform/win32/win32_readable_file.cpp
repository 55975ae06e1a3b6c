#include <algorithm>

#include "core/runtime_error.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_files.h"

namespace vcit::platform {
namespace {

[[noreturn]] void raiseLastError() {
  raise(fileErrorNumber(GetLastError()));
}

// Reads at a position of its own (no shared file pointer), in pieces a DWORD can count.
class Win32ReadableFile : public ReadableFile {
 public:
  explicit Win32ReadableFile(win32::UniqueHandle file) : file_(std::move(file)) {}

  std::uint64_t size() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.get(), &size)) raiseLastError();
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  std::string readAt(std::uint64_t offset, std::size_t count) override {
    std::string bytes(count, '\0');
    std::size_t got = 0;
    while (got < count) {
      OVERLAPPED at{};
      const std::uint64_t position = offset + got;
      at.Offset = static_cast<DWORD>(position);
      at.OffsetHigh = static_cast<DWORD>(position >> 32);
      DWORD n = 0;
      const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(count - got, 1u << 30));
      if (!ReadFile(file_.get(), bytes.data() + got, piece, &n, &at)) {
        if (GetLastError() == ERROR_HANDLE_EOF) break;
        raiseLastError();
      }
      if (n == 0) break;
      got += n;
    }
    bytes.resize(got);
    return bytes;
  }

 private:
  win32::UniqueHandle file_;
};

}  // namespace

std::unique_ptr<ReadableFile> Win32FileSystem::openToRead(const std::string& path) {
  // Shared with every reader, writer and deleter: the game or a copy may go on meanwhile.
  win32::UniqueHandle file(CreateFileW(extendedLengthPath(win32::widen(path)).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return nullptr;
    raiseLastError();
  }
  return std::make_unique<Win32ReadableFile>(std::move(file));
}

}  // namespace vcit::platform
