#include "platform/win32/win32_program_starter.h"

#include <windows.h>

#include <shellapi.h>

#include "core/runtime_error.h"
#include "platform/win32/text_conversion.h"

namespace vcit::platform {

void Win32ProgramStarter::start(const std::string& path) {
  const HINSTANCE result = ShellExecuteW(GetActiveWindow(), L"open", win32::widen(path).c_str(),
                                         nullptr, nullptr, SW_SHOWNORMAL);
  const auto code = reinterpret_cast<INT_PTR>(result);
  if (code > 32) return;
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case SE_ERR_NOASSOC:
      raise(err::kFileNotFound);  // no such program
    case SE_ERR_ACCESSDENIED:
      raise(err::kPermissionDenied);
    case 0:
    case SE_ERR_OOM:
      raise(err::kOutOfMemory);
    default:
      raise(err::kInvalidProcedureCall);
  }
}

}  // namespace vcit::platform
