#include "platform/win32/win32_handles.h"

namespace vcit::platform::win32 {

std::wstring widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), n);
  return wide;
}

std::string narrow(const std::wstring& wide) {
  return narrow(wide.data(), wide.size());
}

std::string narrow(const wchar_t* wide, std::size_t size) {
  if (size == 0) return {};
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(size), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(size), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace vcit::platform::win32
