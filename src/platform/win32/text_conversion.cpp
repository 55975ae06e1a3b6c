#include "platform/win32/text_conversion.h"

#include <windows.h>

#include <algorithm>

namespace vcit::platform::win32 {
namespace {

std::wstring toUtf16(UINT codePage, const char* text, std::size_t size) {
  if (size == 0) return {};
  const int n = MultiByteToWideChar(codePage, 0, text, static_cast<int>(size), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text, static_cast<int>(size), wide.data(), n);
  return wide;
}

std::string fromUtf16(UINT codePage, const wchar_t* wide, std::size_t size) {
  if (size == 0) return {};
  const int length = static_cast<int>(size);
  const int n = WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide, length, out.data(), n, nullptr, nullptr);
  return out;
}

// The text in the code page, or nothing when the call fails (it refuses flags or the default
// character's report for some code pages).
std::optional<std::string> convert(UINT codePage, DWORD flags, const std::wstring& wide,
                                   BOOL* usedDefault) {
  const int length = static_cast<int>(wide.size());
  const int n =
      WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, usedDefault);
  if (n == 0) return std::nullopt;
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), length, out.data(), n, nullptr, usedDefault);
  return out;
}

// Bytes below 0x80 are the same characters in UTF-8 and in every ANSI code page (lead bytes
// of the double-byte ones start at 0x81), so such text converts to itself.
bool isAscii(const char* text, std::size_t size) {
  return std::all_of(text, text + size,
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::wstring widen(const std::string& utf8) {
  return toUtf16(CP_UTF8, utf8.data(), utf8.size());
}

std::string narrow(const std::wstring& wide) {
  return narrow(wide.data(), wide.size());
}

std::string narrow(const wchar_t* wide, std::size_t size) {
  return fromUtf16(CP_UTF8, wide, size);
}

std::string toCodePage(const std::string& utf8, unsigned codePage) {
  if (isAscii(utf8.data(), utf8.size())) return utf8;
  const std::wstring wide = widen(utf8);
  return fromUtf16(codePage, wide.data(), wide.size());
}

std::optional<std::string> toCodePageExactly(const std::string& utf8, unsigned codePage) {
  if (isAscii(utf8.data(), utf8.size())) return utf8;
  const std::wstring wide = widen(utf8);
  if (narrow(wide) != utf8) return std::nullopt;  // not UTF-8: no characters to convert
  BOOL usedDefault = FALSE;
  std::optional<std::string> out = convert(codePage, WC_NO_BEST_FIT_CHARS, wide, &usedDefault);
  // UTF-7, UTF-8, the ISO-2022 pages and a few others refuse the flag and the default
  // character's report: for them the round trip alone decides.
  if (!out) out = convert(codePage, 0, wide, nullptr);
  // The flag is not the whole story everywhere (the best fit of some double-byte pages, Wine's
  // own tables): only bytes that read back as the same text count.
  if (!out || usedDefault || toUtf16(codePage, out->data(), out->size()) != wide)
    return std::nullopt;
  return out;
}

std::string fromCodePage(const std::string& ansi) {
  return fromCodePage(ansi.data(), ansi.size());
}

std::string fromCodePage(const char* ansi, std::size_t size) {
  if (isAscii(ansi, size)) return std::string(ansi, size);
  const std::wstring wide = toUtf16(CP_ACP, ansi, size);
  return narrow(wide);
}

}  // namespace vcit::platform::win32
