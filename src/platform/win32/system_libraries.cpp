#include "platform/win32/system_libraries.h"

#include <bit>

#include "platform/win32/scoped_win.h"

namespace vcit::platform::win32 {

namespace {

// A DLL of Windows, loaded from System32 once and kept for the whole run: the window classes
// and accessible objects it makes live as long as the program's windows.
class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name)
      : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

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

}  // namespace

bool searchDllsInSystem32Only() {
  return SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
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
