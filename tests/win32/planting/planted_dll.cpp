// A DLL named oleacc.dll, as a download or a mod pack may leave one beside a program. Loading it
// leaves a mark in the loading process's environment.

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) SetEnvironmentVariableW(L"VCIT_PLANTED_DLL_RAN", L"1");
  return TRUE;
}
