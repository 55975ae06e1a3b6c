// mingw's oleacc import library gives IID_IAccessible as an import stub that matches no
// request: the GUIDs are defined here instead.
#include <initguid.h>
// oleacc.h must come after initguid.h.

#include "ui/win32/accessible_object.h"

#include <iterator>
#include <optional>
#include <string>

#include "platform/win32/system_libraries.h"
#include "platform/win32/text_conversion.h"
#include "ui/win32/accessible_window.h"

namespace vcit::ui::win32 {

namespace {

// A text property; `none` and no text when there is none. A name or shortcut (none S_FALSE)
// is none when empty too; a value may be empty.
HRESULT textResult(const std::optional<std::string>& text, BSTR* out, HRESULT none = S_FALSE) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!text || (none == S_FALSE && text->empty())) return none;
  const std::wstring wide = platform::win32::widen(*text);
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

// In the order of AccessibleRole.
constexpr long kRoleNumbers[] = {
    ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_CHECKBUTTON, ROLE_SYSTEM_TEXT, ROLE_SYSTEM_STATICTEXT,
    ROLE_SYSTEM_GRAPHIC,    ROLE_SYSTEM_GROUPING,    ROLE_SYSTEM_LIST, ROLE_SYSTEM_PROGRESSBAR};
static_assert(std::size(kRoleNumbers) == static_cast<std::size_t>(AccessibleRole::ProgressBar) + 1);

}  // namespace

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

HRESULT AccessibleObject::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible)
    *object = static_cast<IAccessible*>(this);
  else if (iid == IID_IOleWindow)
    *object = static_cast<IOleWindow*>(this);
  else
    return E_NOINTERFACE;
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

HRESULT AccessibleObject::get_accName(VARIANT child, BSTR* name) {
  return ownAnswer(&IAccessible::get_accName, child, name,
                   [&](const AccessibleDescription& d) { return textResult(d.name, name); });
}

HRESULT AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
  return ownAnswer(&IAccessible::get_accValue, child, value, [&](const AccessibleDescription& d) {
    return textResult(d.value, value, DISP_E_MEMBERNOTFOUND);
  });
}

HRESULT AccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
  return ownAnswer(&IAccessible::get_accRole, child, role, [&](const AccessibleDescription& d) {
    return numberResult(kRoleNumbers[static_cast<std::size_t>(d.role)], role);
  });
}

HRESULT AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
  return ownAnswer(&IAccessible::get_accState, child, state, [&](const AccessibleDescription& d) {
    return numberResult(owner_->state(d), state);
  });
}

HRESULT AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  return ownAnswer(
      &IAccessible::get_accKeyboardShortcut, child, shortcut,
      [&](const AccessibleDescription& d) { return textResult(d.shortcut, shortcut); });
}

HRESULT AccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
  if (!owner_) return CO_E_OBJNOTCONNECTED;
  std::optional<std::string> own;
  if (child.vt == VT_I4 && child.lVal == CHILDID_SELF) {
    try {
      own = owner_->description();
    } catch (...) {
      return E_FAIL;
    }
  }
  if (!own)
    return standardAnswer([&](IAccessible& a) { return a.get_accDescription(child, description); });
  return textResult(*own, description);
}

HRESULT AccessibleObject::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = owner_ ? owner_->hwnd() : nullptr;
  return owner_ ? S_OK : CO_E_OBJNOTCONNECTED;
}

#define VCIT_FORWARD(method, parameters, arguments)                            \
  HRESULT AccessibleObject::method parameters {                                \
    return standardAnswer([&](IAccessible& a) { return a.method arguments; }); \
  }
VCIT_STANDARD_ANSWERS(VCIT_FORWARD)
#undef VCIT_FORWARD

}  // namespace vcit::ui::win32
