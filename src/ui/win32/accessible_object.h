#pragma once

#include <windows.h>

#include <oleacc.h>

#include <utility>

#include "platform/win32/scoped_win.h"
#include "ui/win32/accessible_window.h"

namespace vcit::ui::win32 {

// The IAccessible of a child window's client area: name, role, state, value and keyboard
// shortcut come from the window's AccessibleWindow, everything else from the system's standard
// object of that window. After disconnect() every call answers CO_E_OBJNOTCONNECTED.
class AccessibleObject final : public IAccessible, public IOleWindow {
 public:
  // The object of the owner's window, with one reference for the caller.
  static platform::win32::ComPtr<AccessibleObject> create(const AccessibleWindow& owner);
  AccessibleObject(const AccessibleObject&) = delete;
  AccessibleObject& operator=(const AccessibleObject&) = delete;

  // What WM_GETOBJECT answers for it (0 when it cannot be handed out).
  LRESULT result(WPARAM flags);
  void disconnect();

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // What the object answers itself.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  // The window's own where its layout gives it one, else the standard object's.
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;

  // What the system's standard object answers: X(method, parameters, arguments).
#define VCIT_STANDARD_ANSWERS(X)                                                               \
  X(GetTypeInfoCount, (UINT * count), (count))                                                 \
  X(GetTypeInfo, (UINT index, LCID locale, ITypeInfo * *info), (index, locale, info))          \
  X(GetIDsOfNames, (REFIID iid, LPOLESTR * names, UINT count, LCID locale, DISPID * ids),      \
    (iid, names, count, locale, ids))                                                          \
  X(Invoke,                                                                                    \
    (DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS * params, VARIANT * result,    \
     EXCEPINFO * exception, UINT * argumentError),                                             \
    (id, iid, locale, flags, params, result, exception, argumentError))                        \
  X(get_accParent, (IDispatch * *parent), (parent))                                            \
  X(get_accChildCount, (long* count), (count))                                                 \
  X(get_accChild, (VARIANT child, IDispatch * *object), (child, object))                       \
  X(get_accHelp, (VARIANT child, BSTR * help), (child, help))                                  \
  X(get_accHelpTopic, (BSTR * helpFile, VARIANT child, long* topic), (helpFile, child, topic)) \
  X(get_accFocus, (VARIANT * child), (child))                                                  \
  X(get_accSelection, (VARIANT * children), (children))                                        \
  X(get_accDefaultAction, (VARIANT child, BSTR * action), (child, action))                     \
  X(accSelect, (long flags, VARIANT child), (flags, child))                                    \
  X(accLocation, (long* left, long* top, long* width, long* height, VARIANT child),            \
    (left, top, width, height, child))                                                         \
  X(accNavigate, (long direction, VARIANT start, VARIANT* end), (direction, start, end))       \
  X(accHitTest, (long left, long top, VARIANT* child), (left, top, child))                     \
  X(accDoDefaultAction, (VARIANT child), (child))                                              \
  X(put_accName, (VARIANT child, BSTR name), (child, name))                                    \
  X(put_accValue, (VARIANT child, BSTR value), (child, value))
#define VCIT_DECLARE(method, parameters, arguments) \
  HRESULT STDMETHODCALLTYPE method parameters override;
  VCIT_STANDARD_ANSWERS(VCIT_DECLARE)
#undef VCIT_DECLARE

  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override {
    return E_NOTIMPL;
  }

 private:
  AccessibleObject(const AccessibleWindow& owner, platform::win32::ComPtr<IAccessible> standard)
      : owner_(&owner), standard_(std::move(standard)) {}
  ~AccessibleObject() = default;
  // A property of the window that its description answers (any error escaping it ends as
  // E_FAIL); the same property of a child of the window is the standard object's.
  template <class Method, class Out, class Own>
  HRESULT ownAnswer(Method method, const VARIANT& child, Out* out, Own own) noexcept {
    if (!owner_) return CO_E_OBJNOTCONNECTED;
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF)
      return standard_ ? (standard_.get()->*method)(child, out) : E_INVALIDARG;
    try {
      return own(owner_->describe());
    } catch (...) {
      return E_FAIL;
    }
  }
  // What the standard object answers, while the window is there.
  template <class Call>
  HRESULT standardAnswer(Call call) {
    if (!owner_) return CO_E_OBJNOTCONNECTED;
    return standard_ ? call(*standard_.get()) : E_NOTIMPL;
  }
  LONG references_ = 1;
  const AccessibleWindow* owner_;
  platform::win32::ComPtr<IAccessible> standard_;
};

}  // namespace vcit::ui::win32
