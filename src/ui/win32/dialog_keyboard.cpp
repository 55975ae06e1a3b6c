#include "ui/win32/dialog_keyboard.h"

#include <algorithm>
#include <cwctype>

#include "platform/win32/text_conversion.h"
#include "ui/accessibility.h"
#include "ui/win32/child_window.h"

namespace vcit::ui::win32 {

wchar_t accessKey(const std::string& caption) {
  const std::wstring key = platform::win32::widen(accessKeyCharacter(caption));
  return key.empty() ? 0 : static_cast<wchar_t>(std::towlower(key[0]));
}

bool DialogKeyboard::canFocus(const ChildWindow& child) const {
  if (!child.layout->tabStop || !IsWindowVisible(child.hwnd)) return false;
  const HWND form = GetAncestor(child.hwnd, GA_ROOT);
  for (HWND w = child.hwnd; w && w != form; w = GetParent(w))
    if (!IsWindowEnabled(w)) return false;
  return true;
}

void DialogKeyboard::focus(const ChildWindow& child, bool selectText) {
  SetFocus(child.hwnd);
  if (selectText && child.adapter->tabSelectsText) SendMessageW(child.hwnd, EM_SETSEL, 0, -1);
}

void DialogKeyboard::setTabOrder(const FormLayout& layout) {
  stops_.clear();
  for (const ControlLayout* c : layout.tabOrder()) {
    ChildWindow* child = children_.findById(c->id);
    if (child && c->tabStop) stops_.push_back(child);
  }
}

ChildWindow* DialogKeyboard::firstFocusable() const {
  const auto found = std::find_if(stops_.begin(), stops_.end(),
                                  [&](const ChildWindow* stop) { return canFocus(*stop); });
  return found == stops_.end() ? nullptr : *found;
}

void DialogKeyboard::focusNext(HWND from, bool backward) {
  auto holds = [from](const ChildWindow* stop) {
    return from && (stop->hwnd == from || IsChild(stop->hwnd, from));
  };
  // The ring in walking order, ending with the stop holding `from` (the last in tab order
  // when several do); from the start (or the end) when none does.
  std::vector<ChildWindow*> ring = stops_;
  const auto held = std::find_if(ring.rbegin(), ring.rend(), holds);
  const bool found = held != ring.rend();
  if (found) std::rotate(ring.begin(), held.base(), ring.end());
  if (backward) {
    std::reverse(ring.begin(), ring.end());
    if (found) std::rotate(ring.begin(), ring.begin() + 1, ring.end());
  }
  const auto target = std::find_if(ring.begin(), ring.end(), [&](const ChildWindow* stop) {
    return stop->hwnd != from && canFocus(*stop);
  });
  if (target != ring.end()) focus(**target, true);
}

void DialogKeyboard::press(ChildWindow& child) {
  if (!IsWindowEnabled(child.hwnd) || !IsWindowVisible(child.hwnd)) return;
  if (child.adapter->pressTakesFocus) focus(child);
  SendMessageW(GetParent(child.hwnd), WM_COMMAND, MAKEWPARAM(child.layout->id, BN_CLICKED),
               reinterpret_cast<LPARAM>(child.hwnd));
}

ChildWindow* DialogKeyboard::accessKeyTarget(wchar_t key) const {
  const wchar_t lower = static_cast<wchar_t>(std::towlower(key));
  for (const auto& child : children_)
    if (child->accessKey != 0 && child->accessKey == lower && IsWindowVisible(child->hwnd))
      return child.get();
  return nullptr;
}

ChildWindow* DialogKeyboard::defaultButton(bool cancel) const {
  for (const auto& child : children_)
    if (cancel ? child->layout->cancelButton : child->layout->defaultButton) return child.get();
  return nullptr;
}

bool DialogKeyboard::handleKey(HWND form, const MSG& msg) {
  // Focus rectangles and access-key underlines show once the keyboard is used.
  if (msg.message == WM_SYSKEYDOWN || (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB))
    SendMessageW(form, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  ChildWindow* focused = children_.find(GetFocus());
  auto keyDown = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
  auto pressed = [this](ChildWindow* target) {
    if (target) press(*target);
    return target != nullptr;
  };
  switch (msg.message) {
    case WM_KEYDOWN:
      if (msg.wParam == VK_TAB && !keyDown(VK_CONTROL) && !keyDown(VK_MENU)) {
        focusNext(GetFocus(), keyDown(VK_SHIFT));
        return true;
      }
      if (msg.wParam == VK_RETURN)
        return pressed(focused && focused->adapter->pressedByEnter ? focused
                                                                   : defaultButton(false));
      return msg.wParam == VK_ESCAPE && pressed(defaultButton(true));
    case WM_SYSCHAR:
    case WM_CHAR:
      // Alt and the access key press a control; so does the key alone while the focus is on
      // a button.
      if (msg.message == WM_CHAR && !(focused && focused->adapter->buttonLike)) return false;
      return pressed(accessKeyTarget(static_cast<wchar_t>(msg.wParam)));
    default:
      return false;
  }
}

}  // namespace vcit::ui::win32
