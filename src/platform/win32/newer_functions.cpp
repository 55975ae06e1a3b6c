#include "platform/win32/newer_functions.h"

#include <bit>

#include "platform/win32/system_libraries.h"

namespace vcit::platform::win32 {

namespace {

// The function of that name in a DLL, with the type of the pointer it is stored in.
template <class Function>
void find(HMODULE module, const char* name, Function*& to) {
  to = module ? std::bit_cast<Function*>(GetProcAddress(module, name)) : nullptr;
}

NewerFunctions lookUp() {
  NewerFunctions f;
  // The .exe imports both, so both are loaded.
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  find(kernel32, "SetDefaultDllDirectories", f.setDefaultDllDirectories);
  find(user32, "GetDpiForSystem", f.getDpiForSystem);
  find(user32, "GetDpiForWindow", f.getDpiForWindow);
  find(user32, "AdjustWindowRectExForDpi", f.adjustWindowRectExForDpi);
  find(user32, "GetSystemMetricsForDpi", f.getSystemMetricsForDpi);
  // Kept for the whole run: its functions are called until the end. Windows 7 and 8 have none.
  static const HMODULE shcore = loadFromSystem32(L"shcore.dll", f);
  find(shcore, "GetDpiForMonitor", f.getDpiForMonitor);
  find(shcore, "GetProcessDpiAwareness", f.getProcessDpiAwareness);
  return f;
}

}  // namespace

const NewerFunctions& NewerFunctions::system() {
  static const NewerFunctions functions = lookUp();
  return functions;
}

}  // namespace vcit::platform::win32
