// mingw's oleacc import library gives IID_IAccessible as an import stub that matches no
// request: the GUIDs are defined here instead.
#include <initguid.h>
// oleacc.h must come after initguid.h.

#include "ui/win32/accessible_object.h"

#include <string>

#include "platform/win32/text_conversion.h"
#include "ui/win32/accessible_window.h"

namespace vcit::ui::win32 {

namespace {

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

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
  }
  return ROLE_SYSTEM_CLIENT;
}

}  // namespace

AccessibleObject::AccessibleObject(const AccessibleWindow& owner,
                                   platform::win32::ComPtr<IAccessible> standard)
    : owner_(&owner), standard_(std::move(standard)) {}

platform::win32::ComPtr<AccessibleObject> AccessibleObject::create(const AccessibleWindow& owner) {
  platform::win32::ComPtr<IAccessible> standard;
  if (FAILED(CreateStdAccessibleObject(owner.hwnd(), OBJID_CLIENT, IID_IAccessible,
                                       standard.out())))
    standard.reset();
  platform::win32::ComPtr<AccessibleObject> object;
  object.reset(new AccessibleObject(owner, std::move(standard)));
  return object;
}

LRESULT AccessibleObject::result(WPARAM flags) {
  const LRESULT result = LresultFromObject(IID_IAccessible, flags, static_cast<IAccessible*>(this));
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

ULONG AccessibleObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG AccessibleObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

// ---- What this object answers itself ---------------------------------------------------------

HRESULT AccessibleObject::get_accName(VARIANT child, BSTR* name) {
  if (!owner_) return CO_E_OBJNOTCONNECTED;
  if (!isSelf(child)) return standard_ ? standard_->get_accName(child, name) : E_INVALIDARG;
  return textResult(owner_->describe().name, name);
}

HRESULT AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
  if (!owner_) return CO_E_OBJNOTCONNECTED;
  if (!isSelf(child)) return standard_ ? standard_->get_accValue(child, value) : E_INVALIDARG;
  const AccessibleDescription d = owner_->describe();
  if (!d.value) {
    if (value) *value = nullptr;
    return DISP_E_MEMBERNOTFOUND;
  }
  if (!value) return E_POINTER;
  const std::wstring wide = platform::win32::widen(*d.value);
  *value = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  return *value ? S_OK : E_OUTOFMEMORY;
}

HRESULT AccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
  if (!owner_) return CO_E_OBJNOTCONNECTED;
  if (!isSelf(child)) return standard_ ? standard_->get_accRole(child, role) : E_INVALIDARG;
  return numberResult(roleNumber(owner_->describe().role), role);
}

HRESULT AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
  if (!owner_) return CO_E_OBJNOTCONNECTED;
  if (!isSelf(child)) return standard_ ? standard_->get_accState(child, state) : E_INVALIDARG;
  return numberResult(owner_->state(owner_->describe()), state);
}

HRESULT AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (!owner_) return CO_E_OBJNOTCONNECTED;
  if (!isSelf(child))
    return standard_ ? standard_->get_accKeyboardShortcut(child, shortcut) : E_INVALIDARG;
  return textResult(owner_->describe().shortcut, shortcut);
}

HRESULT AccessibleObject::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = owner_ ? owner_->hwnd() : nullptr;
  return owner_ ? S_OK : CO_E_OBJNOTCONNECTED;
}

HRESULT AccessibleObject::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// ---- What the standard object answers --------------------------------------------------------

#define VCIT_STANDARD(call)                          \
  do {                                               \
    if (!owner_) return CO_E_OBJNOTCONNECTED;        \
    return standard_ ? standard_->call : E_NOTIMPL;  \
  } while (false)

HRESULT AccessibleObject::GetTypeInfoCount(UINT* count) { VCIT_STANDARD(GetTypeInfoCount(count)); }
HRESULT AccessibleObject::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) {
  VCIT_STANDARD(GetTypeInfo(index, locale, info));
}
HRESULT AccessibleObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                        DISPID* ids) {
  VCIT_STANDARD(GetIDsOfNames(iid, names, count, locale, ids));
}
HRESULT AccessibleObject::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                 DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                 UINT* argumentError) {
  VCIT_STANDARD(Invoke(id, iid, locale, flags, params, result, exception, argumentError));
}
HRESULT AccessibleObject::get_accParent(IDispatch** parent) {
  VCIT_STANDARD(get_accParent(parent));
}
HRESULT AccessibleObject::get_accChildCount(long* count) {
  VCIT_STANDARD(get_accChildCount(count));
}
HRESULT AccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
  VCIT_STANDARD(get_accChild(child, object));
}
HRESULT AccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
  VCIT_STANDARD(get_accDescription(child, description));
}
HRESULT AccessibleObject::get_accHelp(VARIANT child, BSTR* help) {
  VCIT_STANDARD(get_accHelp(child, help));
}
HRESULT AccessibleObject::get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) {
  VCIT_STANDARD(get_accHelpTopic(helpFile, child, topic));
}
HRESULT AccessibleObject::get_accFocus(VARIANT* child) { VCIT_STANDARD(get_accFocus(child)); }
HRESULT AccessibleObject::get_accSelection(VARIANT* children) {
  VCIT_STANDARD(get_accSelection(children));
}
HRESULT AccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
  VCIT_STANDARD(get_accDefaultAction(child, action));
}
HRESULT AccessibleObject::accSelect(long flags, VARIANT child) {
  VCIT_STANDARD(accSelect(flags, child));
}
HRESULT AccessibleObject::accLocation(long* left, long* top, long* width, long* height,
                                      VARIANT child) {
  VCIT_STANDARD(accLocation(left, top, width, height, child));
}
HRESULT AccessibleObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
  VCIT_STANDARD(accNavigate(direction, start, end));
}
HRESULT AccessibleObject::accHitTest(long left, long top, VARIANT* child) {
  VCIT_STANDARD(accHitTest(left, top, child));
}
HRESULT AccessibleObject::accDoDefaultAction(VARIANT child) {
  VCIT_STANDARD(accDoDefaultAction(child));
}
HRESULT AccessibleObject::put_accName(VARIANT child, BSTR name) {
  VCIT_STANDARD(put_accName(child, name));
}
HRESULT AccessibleObject::put_accValue(VARIANT child, BSTR value) {
  VCIT_STANDARD(put_accValue(child, value));
}

#undef VCIT_STANDARD

}  // namespace vcit::ui::win32
