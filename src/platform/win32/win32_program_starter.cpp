#include "platform/win32/win32_program_starter.h"

#include <windows.h>

#include "core/runtime_error.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/text_conversion.h"

namespace vcit::platform {

void Win32ProgramStarter::start(const std::string& path) {
  // Started as a program, never through the shell's "open" verb, which opens a folder in
  // Explorer or a document in its program and reports success.
  if (path.empty()) raise(err::kFileNotFound);
  const std::wstring application = win32::widen(path);
  // A folder is refused by name: Windows answers ERROR_ACCESS_DENIED, Wine ERROR_INVALID_HANDLE.
  const DWORD attributes = GetFileAttributesW(application.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    raise(err::kPermissionDenied);
  std::wstring commandLine = L"\"" + application + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &process)) {
    const win32::UniqueHandle thread(process.hThread);
    const win32::UniqueHandle started(process.hProcess);
    // The started program may take the foreground from this one.
    AllowSetForegroundWindow(process.dwProcessId);
    return;
  }
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      raise(err::kFileNotFound);  // no such program
    case ERROR_ACCESS_DENIED:
      raise(err::kPermissionDenied);  // a folder, or a file this user may not run
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      raise(err::kOutOfMemory);
    default:
      raise(err::kInvalidProcedureCall);  // a document or another file that is no program
  }
}

}  // namespace vcit::platform
