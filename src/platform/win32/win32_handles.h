#pragma once

// Small owners of Win32 handles and the UTF-8 <-> UTF-16 conversions shared by the platform's
// Windows services. Only src/platform/win32 includes this header.

#include <windows.h>

#include <string>
#include <utility>

namespace vcit::platform::win32 {

// A kernel object handle (file, thread, event), closed when the owner goes away.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  HANDLE get() const { return handle_; }
  // False for both "no handle" values Windows uses (NULL and INVALID_HANDLE_VALUE).
  explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  void reset(HANDLE handle = nullptr) {
    if (*this) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

// UTF-8 to UTF-16 and back (invalid UTF-8 becomes U+FFFD).
std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& wide);
std::string narrow(const wchar_t* wide, std::size_t size);

}  // namespace vcit::platform::win32
