// mingw's oleacc import library gives IID_IAccessible as an import stub that matches no
// request: the GUIDs are defined here instead.
#include <initguid.h>
// oleacc.h must come after initguid.h.

#include "ui/win32/accessible_object.h"

#include <string>

#include "platform/win32/system_libraries.h"
#include "platform/win32/text_conversion.h"
#include "ui/win32/accessible_window.h"

namespace vcit::ui::win32 {

namespace {

// A text property: S_FALSE and none for an empty text.
HRESULT textResult(const std::string& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  const std::wstring wide = platform::win32::widen(text);
  *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT numberResult(long number, VARIANT* out) {
  if (!out) return E_POINTER;
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = number;
  return S_OK;
}

long roleNumber(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::PushButton:
      return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleRole::CheckButton:
      return ROLE_SYSTEM_CHECKBUTTON;
    case AccessibleRole::Text:
      return ROLE_SYSTEM_TEXT;
    case AccessibleRole::StaticText:
      return ROLE_SYSTEM_STATICTEXT;
    case AccessibleRole::Graphic:
      return ROLE_SYSTEM_GRAPHIC;
    case AccessibleRole::Grouping:
      return ROLE_SYSTEM_GROUPING;
    case AccessibleRole::List:
      return ROLE_SYSTEM_LIST;
    case AccessibleRole::ProgressBar:
      return ROLE_SYSTEM_PROGRESSBAR;
  }
  return ROLE_SYSTEM_CLIENT;
}

}  // namespace

AccessibleObject::AccessibleObject(const AccessibleWindow& owner,
                                   platform::win32::ComPtr<IAccessible> standard)
    : owner_(&owner), standard_(std::move(standard)) {}

platform::win32::ComPtr<AccessibleObject> AccessibleObject::create(const AccessibleWindow& owner) {
  platform::win32::ComPtr<IAccessible> standard;
  if (FAILED(platform::win32::createStdAccessibleObject(owner.hwnd(), OBJID_CLIENT, IID_IAccessible,
                                                        standard.out())))
    standard.reset();
  platform::win32::ComPtr<AccessibleObject> object;
  object.reset(new AccessibleObject(owner, std::move(standard)));
  return object;
}

LRESULT AccessibleObject::result(WPARAM flags) {
  const LRESULT result =
      platform::win32::lresultFromObject(IID_IAccessible, flags, static_cast<IAccessible*>(this));
  return result > 0 ? result : 0;
}

void AccessibleObject::disconnect() {
  owner_ = nullptr;
  standard_.reset();
  // Drops the references that readers in other processes hold through COM.
  CoDisconnectObject(static_cast<IAccessible*>(this), 0);
}

// ---- IUnknown --------------------------------------------------------------------------------

HRESULT AccessibleObject::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
    *object = static_cast<IAccessible*>(this);
  } else if (iid == IID_IOleWindow) {
    *object = static_cast<IOleWindow*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG AccessibleObject::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG AccessibleObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

// ---- What this object answers itself ---------------------------------------------------------

HRESULT AccessibleObject::get_accName(VARIANT child, BSTR* name) {
  return ownAnswer(
      child, [&](const AccessibleDescription& d) { return textResult(d.name, name); },
      [&](IAccessible& a) { return a.get_accName(child, name); });
}

HRESULT AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
  return ownAnswer(
      child,
      [&](const AccessibleDescription& d) -> HRESULT {
        if (!value) return E_POINTER;
        *value = nullptr;
        if (!d.value) return DISP_E_MEMBERNOTFOUND;
        const std::wstring wide = platform::win32::widen(*d.value);
        *value = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        return *value ? S_OK : E_OUTOFMEMORY;
      },
      [&](IAccessible& a) { return a.get_accValue(child, value); });
}

HRESULT AccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
  return ownAnswer(
      child, [&](const AccessibleDescription& d) { return numberResult(roleNumber(d.role), role); },
      [&](IAccessible& a) { return a.get_accRole(child, role); });
}

HRESULT AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
  return ownAnswer(
      child, [&](const AccessibleDescription& d) { return numberResult(owner_->state(d), state); },
      [&](IAccessible& a) { return a.get_accState(child, state); });
}

HRESULT AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  return ownAnswer(
      child, [&](const AccessibleDescription& d) { return textResult(d.shortcut, shortcut); },
      [&](IAccessible& a) { return a.get_accKeyboardShortcut(child, shortcut); });
}

HRESULT AccessibleObject::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = owner_ ? owner_->hwnd() : nullptr;
  return owner_ ? S_OK : CO_E_OBJNOTCONNECTED;
}

HRESULT AccessibleObject::ContextSensitiveHelp(BOOL) {
  return E_NOTIMPL;
}

// ---- What the standard object answers --------------------------------------------------------

HRESULT AccessibleObject::GetTypeInfoCount(UINT* count) {
  return standardAnswer([&](IAccessible& a) { return a.GetTypeInfoCount(count); });
}
HRESULT AccessibleObject::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) {
  return standardAnswer([&](IAccessible& a) { return a.GetTypeInfo(index, locale, info); });
}
HRESULT AccessibleObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                        DISPID* ids) {
  return standardAnswer(
      [&](IAccessible& a) { return a.GetIDsOfNames(iid, names, count, locale, ids); });
}
HRESULT AccessibleObject::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
  return standardAnswer([&](IAccessible& a) {
    return a.Invoke(id, iid, locale, flags, params, result, exception, argumentError);
  });
}
HRESULT AccessibleObject::get_accParent(IDispatch** parent) {
  return standardAnswer([&](IAccessible& a) { return a.get_accParent(parent); });
}
HRESULT AccessibleObject::get_accChildCount(long* count) {
  return standardAnswer([&](IAccessible& a) { return a.get_accChildCount(count); });
}
HRESULT AccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
  return standardAnswer([&](IAccessible& a) { return a.get_accChild(child, object); });
}
HRESULT AccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
  return standardAnswer([&](IAccessible& a) { return a.get_accDescription(child, description); });
}
HRESULT AccessibleObject::get_accHelp(VARIANT child, BSTR* help) {
  return standardAnswer([&](IAccessible& a) { return a.get_accHelp(child, help); });
}
HRESULT AccessibleObject::get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) {
  return standardAnswer([&](IAccessible& a) { return a.get_accHelpTopic(helpFile, child, topic); });
}
HRESULT AccessibleObject::get_accFocus(VARIANT* child) {
  return standardAnswer([&](IAccessible& a) { return a.get_accFocus(child); });
}
HRESULT AccessibleObject::get_accSelection(VARIANT* children) {
  return standardAnswer([&](IAccessible& a) { return a.get_accSelection(children); });
}
HRESULT AccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
  return standardAnswer([&](IAccessible& a) { return a.get_accDefaultAction(child, action); });
}
HRESULT AccessibleObject::accSelect(long flags, VARIANT child) {
  return standardAnswer([&](IAccessible& a) { return a.accSelect(flags, child); });
}
HRESULT AccessibleObject::accLocation(long* left, long* top, long* width, long* height,
                                      VARIANT child) {
  return standardAnswer(
      [&](IAccessible& a) { return a.accLocation(left, top, width, height, child); });
}
HRESULT AccessibleObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
  return standardAnswer([&](IAccessible& a) { return a.accNavigate(direction, start, end); });
}
HRESULT AccessibleObject::accHitTest(long left, long top, VARIANT* child) {
  return standardAnswer([&](IAccessible& a) { return a.accHitTest(left, top, child); });
}
HRESULT AccessibleObject::accDoDefaultAction(VARIANT child) {
  return standardAnswer([&](IAccessible& a) { return a.accDoDefaultAction(child); });
}
HRESULT AccessibleObject::put_accName(VARIANT child, BSTR name) {
  return standardAnswer([&](IAccessible& a) { return a.put_accName(child, name); });
}
HRESULT AccessibleObject::put_accValue(VARIANT child, BSTR value) {
  return standardAnswer([&](IAccessible& a) { return a.put_accValue(child, value); });
}

}  // namespace vcit::ui::win32
