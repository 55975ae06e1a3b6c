#include "platform/win32/win32_ansi.h"

#include <windows.h>

#include <algorithm>

namespace vcit::platform::ansi {
namespace {

// Bytes below 0x80 are the same characters in UTF-8 and in every ANSI code page (lead bytes
// of the double-byte ones start at 0x81), so such text converts to itself.
bool isAscii(const char* s, std::size_t size) {
  return std::all_of(s, s + size, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::wstring widen(UINT codePage, const char* s, std::size_t size) {
  if (size == 0) return {};
  const int n = MultiByteToWideChar(codePage, 0, s, static_cast<int>(size), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, s, static_cast<int>(size), wide.data(), n);
  return wide;
}

std::string narrow(UINT codePage, const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

std::string fromUtf8(const std::string& utf8) {
  if (isAscii(utf8.data(), utf8.size())) return utf8;
  return narrow(CP_ACP, widen(CP_UTF8, utf8.data(), utf8.size()));
}

std::string toUtf8(const std::string& ansi) {
  return toUtf8(ansi.data(), ansi.size());
}

std::string toUtf8(const char* ansi, std::size_t size) {
  if (isAscii(ansi, size)) return std::string(ansi, size);
  return narrow(CP_UTF8, widen(CP_ACP, ansi, size));
}

}  // namespace vcit::platform::ansi
