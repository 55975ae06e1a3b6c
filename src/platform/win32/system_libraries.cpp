#include "platform/win32/system_libraries.h"

#include <bit>
#include <string>

#include "platform/win32/scoped_win.h"

namespace vcit::platform::win32 {

namespace {

// A DLL of Windows, loaded from System32 once and kept for the whole run: the window classes
// and accessible objects it makes live as long as the program's windows.
class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name) : module_(loadFromSystem32(name)) {}

  // The exported function of that name with the declared type of the SDK's header, or null.
  template <class Function>
  Function* function(const char* name) const {
    if (!module_) return nullptr;
    return std::bit_cast<Function*>(GetProcAddress(module_.get(), name));
  }

 private:
  UniqueModule module_;
};

const SystemLibrary& comctl32() {
  static const SystemLibrary library(L"comctl32.dll");
  return library;
}

const SystemLibrary& oleacc() {
  static const SystemLibrary library(L"oleacc.dll");
  return library;
}

// The DLLs that the system's DLLs load by name while the program runs (measured under Wine
// through start-up, About, System Info, Apply and Launch; and those Windows' theming and
// accessibility load). Wine 8's user32 imports version.dll, so there it is loaded before the
// program's first instruction, from wherever the loader found it.
constexpr const wchar_t* kLoadedLater[] = {L"comctl32.dll", L"uxtheme.dll", L"dwmapi.dll",
                                           L"msimg32.dll",  L"oleacc.dll",  L"version.dll"};

}  // namespace

bool searchDllsInSystem32Only(const NewerFunctions& f) {
  const bool set = f.setDefaultDllDirectories
                       ? f.setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE
                       : SetDllDirectoryW(L"") != FALSE;
  // Never freed: a later load by name finds each loaded for the whole run.
  for (const wchar_t* name : kLoadedLater) static_cast<void>(loadFromSystem32(name, f));
  return set;
}

HMODULE loadFromSystem32(const wchar_t* name, const NewerFunctions& f) {
  if (f.setDefaultDllDirectories)
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // The manifest's assembly (comctl32 version 6) is found by the name alone, before any folder
  // is searched; by its path the loader would take System32's version 5.
  if (CompareStringOrdinal(name, -1, L"comctl32.dll", -1, TRUE) == CSTR_EQUAL)
    return LoadLibraryW(name);
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  // The DLL's own imports are then looked for in its folder first, not the program's.
  const std::wstring path = std::wstring(folder, length) + L"\\" + name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

bool initCommonControls(const INITCOMMONCONTROLSEX& controls) {
  static const auto call =
      comctl32().function<decltype(InitCommonControlsEx)>("InitCommonControlsEx");
  return call && call(&controls);
}

HRESULT createStdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object) {
  static const auto call =
      oleacc().function<decltype(CreateStdAccessibleObject)>("CreateStdAccessibleObject");
  if (!call) {
    if (object) *object = nullptr;
    return E_NOTIMPL;
  }
  return call(window, objectId, iid, object);
}

LRESULT lresultFromObject(REFIID iid, WPARAM flags, IUnknown* object) {
  static const auto call = oleacc().function<decltype(LresultFromObject)>("LresultFromObject");
  return call ? call(iid, flags, object) : static_cast<LRESULT>(E_NOTIMPL);
}

}  // namespace vcit::platform::win32
