#include "ui/win32/dialog_keyboard.h"

#include <algorithm>
#include <cwctype>

#include "platform/win32/text_conversion.h"
#include "ui/accessibility.h"

namespace vcit::ui::win32 {

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
  // From the stop holding `from` (the last in tab order when several do), round the ring;
  // from the start (or the end) when none does.
  const int count = static_cast<int>(stops_.size());
  int at = backward ? count : -1;
  for (int i = 0; i < count; ++i)
    if (from && (stops_[i]->hwnd == from || IsChild(stops_[i]->hwnd, from))) at = i;
  for (int step = 1; step <= count; ++step) {
    const ChildWindow& stop = *stops_[(at + (backward ? -step : step) + 2 * count) % count];
    if (stop.hwnd != from && canFocus(stop)) return focus(stop, true);
  }
}

void DialogKeyboard::press(ChildWindow& child) {
  if (!IsWindowEnabled(child.hwnd) || !IsWindowVisible(child.hwnd)) return;
  if (child.adapter->pressTakesFocus) focus(child);
  SendMessageW(GetParent(child.hwnd), WM_COMMAND, MAKEWPARAM(child.layout->id, BN_CLICKED),
               reinterpret_cast<LPARAM>(child.hwnd));
}

ChildWindow* DialogKeyboard::accessKeyTarget(wchar_t key) const {
  for (const auto& child : children_) {
    const std::wstring mark = platform::win32::widen(accessKeyCharacter(child->layout->caption));
    if (!mark.empty() && std::towlower(mark[0]) == std::towlower(key) &&
        IsWindowVisible(child->hwnd))
      return child.get();
  }
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
