// A DLL named as one of Windows' (oleacc.dll, msimg32.dll, ...), as a download or a mod pack may
// leave one beside a program. Loading it leaves a mark in the loading process's environment and
// a file beside itself, its own path followed by ".ran".

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  SetEnvironmentVariableW(L"VCIT_PLANTED_DLL_RAN", L"1");
  wchar_t path[MAX_PATH + 8] = L"";
  const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    lstrcatW(path, L".ran");
    const HANDLE mark = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
  }
  return TRUE;
}
