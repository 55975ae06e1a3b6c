#pragma once

// The functions of Windows newer than Windows 7 that the program calls, found at run time. The
// .exe imports none of them: Windows refuses to start a program that imports a function it
// lacks, before the program can say anything. Each is null where the system lacks it, and its
// callers fall back to what Windows 7 has (system_dpi.h, system_libraries.h).

#include <windows.h>

#include <shellscalingapi.h>

namespace vcit::platform::win32 {

struct NewerFunctions {
  // kernel32: Windows 8, and Windows 7 with update KB2533623.
  BOOL(WINAPI* setDefaultDllDirectories)(DWORD) = nullptr;
  // user32: Windows 10 1607.
  UINT(WINAPI* getDpiForSystem)() = nullptr;
  UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
  BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  int(WINAPI* getSystemMetricsForDpi)(int, UINT) = nullptr;
  // shcore: Windows 8.1.
  HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*) = nullptr;
  HRESULT(WINAPI* getProcessDpiAwareness)(HANDLE, PROCESS_DPI_AWARENESS*) = nullptr;

  // Those of this system, looked up once (shcore loaded from System32 by its full path).
  static const NewerFunctions& system();
};

}  // namespace vcit::platform::win32
