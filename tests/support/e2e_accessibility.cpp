#ifdef _WIN32

// mingw's oleacc import library gives IID_IAccessible as an import stub with which every
// request fails (E_NOINTERFACE): the GUIDs are defined here instead.
#include <initguid.h>
// oleacc.h must come after initguid.h.

#include "support/e2e_accessibility.h"

#include "support/e2e_text.h"

namespace vcit::e2e {

namespace {

VARIANT self() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

// Takes a BSTR a property gave (none when the call failed or gave none).
std::string take(HRESULT hr, BSTR text) {
  std::string result;
  if (SUCCEEDED(hr) && text) result = narrow(std::wstring(text, SysStringLen(text)));
  SysFreeString(text);
  return result;
}

std::string roleText(long role) {
  wchar_t text[128] = {};
  GetRoleTextW(static_cast<DWORD>(role), text, 128);
  return narrow(text);
}

std::string stateText(long state) {
  std::string result;
  for (int bit = 0; bit < 31; ++bit) {
    const DWORD flag = DWORD{1} << bit;
    if (!(static_cast<DWORD>(state) & flag)) continue;
    wchar_t text[128] = {};
    GetStateTextW(flag, text, 128);
    if (!result.empty()) result += ", ";
    result += narrow(text);
  }
  return result;
}

}  // namespace

AccessibleClient::AccessibleClient(HWND hwnd) {
  result_ = AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                       reinterpret_cast<void**>(&object_));
  if (FAILED(result_)) object_ = nullptr;
}

AccessibleClient::~AccessibleClient() {
  if (object_) object_->Release();
}

std::string AccessibleClient::description() const {
  if (!object_) return {};
  BSTR text = nullptr;
  const HRESULT hr = object_->get_accDescription(self(), &text);
  return take(hr, text);
}

AccessibleSeen AccessibleClient::read() const {
  AccessibleSeen seen;
  seen.result = result_;
  if (!object_) return seen;
  const VARIANT child = self();
  BSTR text = nullptr;
  HRESULT hr = object_->get_accName(child, &text);
  seen.name = take(hr, text);
  text = nullptr;
  hr = object_->get_accValue(child, &text);
  seen.value = take(hr, text);
  text = nullptr;
  hr = object_->get_accKeyboardShortcut(child, &text);
  seen.shortcut = take(hr, text);

  VARIANT v;
  VariantInit(&v);
  if (SUCCEEDED(object_->get_accRole(child, &v)) && v.vt == VT_I4) seen.role = v.lVal;
  VariantClear(&v);
  seen.roleText = roleText(seen.role);
  if (SUCCEEDED(object_->get_accState(child, &v)) && v.vt == VT_I4) seen.state = v.lVal;
  VariantClear(&v);
  seen.stateText = stateText(seen.state);
  return seen;
}

HRESULT AccessibleClient::nameResult() const {
  if (!object_) return result_;
  BSTR text = nullptr;
  const HRESULT hr = object_->get_accName(self(), &text);
  SysFreeString(text);
  return hr;
}

AccessibleSeen readAccessible(HWND hwnd) {
  return AccessibleClient(hwnd).read();
}

ComThread::ComThread() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}

ComThread::~ComThread() {
  if (SUCCEEDED(result_)) CoUninitialize();
}

}  // namespace vcit::e2e

#endif  // _WIN32
