// A program in a folder that also holds a planted oleacc.dll (planted_dll.cpp). It sets the DLL
// policy the launcher sets first (unless VCIT_DLL_POLICY=off; as a system without
// SetDefaultDllDirectories has it with VCIT_DLL_POLICY=windows7), loads oleacc.dll by name as
// Windows' own DLLs do, and tells by its exit code what it got: 0 System32's copy, the planted
// one untouched; 1 the planted copy ran; 2 a copy from elsewhere; 3 none.

#include <windows.h>

#include <cwchar>
#include <string>

#include "platform/win32/system_libraries.h"

int main() {
  wchar_t policy[16] = L"";
  GetEnvironmentVariableW(L"VCIT_DLL_POLICY", policy, 16);
  vcit::platform::win32::NewerFunctions functions = vcit::platform::win32::NewerFunctions::system();
  if (std::wcscmp(policy, L"windows7") == 0) functions.setDefaultDllDirectories = nullptr;
  if (std::wcscmp(policy, L"off") != 0) vcit::platform::win32::searchDllsInSystem32Only(functions);

  const HMODULE module = LoadLibraryW(L"oleacc.dll");
  if (GetEnvironmentVariableW(L"VCIT_PLANTED_DLL_RAN", nullptr, 0) > 0) return 1;
  if (!module) return 3;
  wchar_t path[MAX_PATH] = L"";
  wchar_t system[MAX_PATH] = L"";
  GetModuleFileNameW(module, path, MAX_PATH);
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring expected = std::wstring(system) + L"\\oleacc.dll";
  return CompareStringOrdinal(path, -1, expected.c_str(), -1, TRUE) == CSTR_EQUAL ? 0 : 2;
}
