#include "platform/win32/win32_system.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/scoped_win.h"
#include "platform/win32/text_conversion.h"

// With UNICODE this names the wide function; the 8-bit one is wanted here.
#undef GetEnvironmentStrings

// ntdll's own uppercasing of one UTF-16 unit (the system's uppercase table); the import
// library has it, the headers of user-mode programs do not declare it.
extern "C" __declspec(dllimport) WCHAR NTAPI RtlUpcaseUnicodeChar(WCHAR source);

namespace vcit::platform {

std::uint32_t Win32System::platformId() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = 148;  // sizeof(OSVERSIONINFOA)
  static_assert(sizeof(OSVERSIONINFOA) == 148);
  GetVersionExA(&version);  // a failed call leaves the identifier 0
  return version.dwPlatformId;
}

System::Expanded Win32System::expandEnvironmentStrings(const std::string& text,
                                                       std::uint32_t capacity) {
  const std::string source = win32::toCodePage(text);
  std::vector<char> buffer(capacity == 0 ? 1 : capacity);
  Expanded out;
  out.count = ExpandEnvironmentStringsA(source.c_str(), buffer.data(), capacity);
  if (out.count != 0 && out.count <= capacity) {
    // The count includes the NUL; the text also ends at the first NUL, should the count that
    // the 8-bit function reports be larger than what it wrote.
    const std::size_t size = strnlen(buffer.data(), out.count - 1);
    out.text = win32::fromCodePage(buffer.data(), size);
  }
  return out;
}

std::string Win32System::environmentEntry(int n) {
  char* block = GetEnvironmentStrings();
  if (!block) return {};
  std::string found;
  int index = 0;
  for (const char* entry = block; *entry != '\0'; entry += std::strlen(entry) + 1) {
    if (++index == n) {
      found = win32::fromCodePage(entry, std::strlen(entry));
      break;
    }
  }
  FreeEnvironmentStringsA(block);
  return found;
}

int Win32System::compareIgnoringCase(const std::string& a, const std::string& b) {
  const std::wstring wa = win32::widen(a), wb = win32::widen(b);
  const int result = CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(),
                                          static_cast<int>(wb.size()), TRUE);
  // CSTR_LESS_THAN, CSTR_EQUAL, CSTR_GREATER_THAN are 1, 2, 3; 0 only for invalid arguments,
  // when the bytes decide.
  if (result == 0) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
  return result - CSTR_EQUAL;
}

std::string Win32System::foldCase(const std::string& name) {
  // Names are mostly ASCII: the table's ASCII part is a-z to A-Z, and a name of ASCII
  // bytes is its own UTF-16, so it needs neither a conversion nor the table.
  std::string folded = name;
  bool ascii = true;
  for (char& c : folded) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (ascii) return folded;
  std::wstring wide = win32::widen(name);
  for (wchar_t& unit : wide) unit = RtlUpcaseUnicodeChar(unit);
  return win32::narrow(wide);
}

bool Win32System::libraryLoads(const std::string& name) {
  const win32::UniqueModule module(LoadLibraryA(win32::toCodePage(name).c_str()));
  return static_cast<bool>(module);
}

void Win32System::pause(std::uint32_t milliseconds) {
  Sleep(milliseconds);
}

std::string Win32System::programDirectory() {
  std::vector<wchar_t> path(MAX_PATH);
  while (true) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::wstring folder(path.begin(), path.end());
  folder = folder.substr(
      0, folder.find_last_of(L'\\') == std::wstring::npos ? 0 : folder.find_last_of(L'\\'));
  return win32::narrow(folder);
}

void Win32System::endProgram() {
  ExitProcess(0);
}

}  // namespace vcit::platform
