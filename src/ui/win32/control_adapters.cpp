#include "ui/win32/child_window.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <variant>

#include "core/assertion.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/text_conversion.h"
#include "ui/check_box.h"
#include "ui/command_button.h"
#include "ui/label.h"
#include "ui/progress_bar.h"
#include "ui/text_box.h"

namespace vcit::ui::win32 {

namespace {

using platform::win32::widen;

// The model of a window's kind: a layout whose model is of another kind is a programming error.
template <class Kind>
Kind& modelOf(const Model& model) {
  VCIT_ASSERT(std::holds_alternative<Kind*>(model) && std::get<Kind*>(model));
  return *std::get<Kind*>(model);
}

// The window follows the model: show(hwnd, model) now and on every change of the model.
template <class Kind, class Show>
void follow(ChildWindow& child, Kind& model, Show show) {
  child.model = &model;
  auto refresh = [hwnd = child.hwnd, &model, show] { show(hwnd, model); };
  model.bindView(refresh);
  refresh();
}

// A check box without a caption has no text to draw its focus rectangle around: it is drawn
// around the box itself.
LRESULT checkBoxMessage(const WindowSubclass& window, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = window.hwnd();
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_UPDATEUISTATE)
    InvalidateRect(hwnd, nullptr, TRUE);
  const LRESULT result = window.callOwn(message, wParam, lParam);
  if (message == WM_PAINT && GetFocus() == hwnd && GetWindowTextLengthW(hwnd) == 0 &&
      !(SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
    const platform::win32::WindowDC dc(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    DrawFocusRect(dc.get(), &client);
  }
  return result;
}

// Sets the window's text where it shows another: an edit control lays its text out again on
// every WM_SETTEXT, which under Wine costs a third of a millisecond a control at start-up.
void showText(HWND hwnd, const std::wstring& text) {
  if (GetWindowTextLengthW(hwnd) == static_cast<int>(text.size())) {
    std::wstring shown(text.size() + 1, L'\0');
    shown.resize(static_cast<std::size_t>(
        std::max(GetWindowTextW(hwnd, shown.data(), static_cast<int>(shown.size())), 0)));
    if (shown == text) return;
  }
  SetWindowTextW(hwnd, text.c_str());
}

// A text box or a label shows the text of either model.
void bindText(ChildWindow& child, const Model& bound) {
  TextControl* text = textOf(bound);
  VCIT_ASSERT(text);
  follow(child, *text, [](HWND hwnd, TextControl& model) { showText(hwnd, widen(model.text())); });
}

// In the order of ControlKind.
const ControlAdapter kAdapters[] = {
    {.windowClass = L"BUTTON",  // CommandButton
     .layoutStyle = [](const ControlLayout& c) -> DWORD {
       return c.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
     },
     .bind =
         [](ChildWindow& child, const Model& bound) {
           follow(child, modelOf<CommandButton>(bound), [](HWND hwnd, CommandButton& model) {
             // The focus moves on from a button about to be disabled, as in a dialog.
             if (!model.enabled() && GetFocus() == hwnd)
               SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_NEXTDLGCTL, 0, FALSE);
             EnableWindow(hwnd, model.enabled() ? TRUE : FALSE);
           });
         },
     .buttonLike = true,
     .pressedByEnter = true},
    {.windowClass = L"BUTTON",  // CheckBox
     .style = BS_3STATE,        // the model decides the state; a click only tells it
     .message = checkBoxMessage,
     .bind =
         [](ChildWindow& child, const Model& bound) {
           follow(child, modelOf<CheckBox>(bound), [](HWND hwnd, CheckBox& model) {
             const WPARAM state = model.value() == CheckBox::kChecked  ? BST_CHECKED
                                  : model.value() == CheckBox::kGrayed ? BST_INDETERMINATE
                                                                       : BST_UNCHECKED;
             SendMessageW(hwnd, BM_SETCHECK, state, 0);
           });
         },
     .pressTakesFocus = true,
     .buttonLike = true},
    {.windowClass = L"EDIT",  // TextBox
     .style = ES_LEFT | ES_AUTOHSCROLL,
     .layoutStyle = [](const ControlLayout& c) -> DWORD { return c.readOnly ? ES_READONLY : 0; },
     .bind = bindText,
     .tabSelectsText = true},
    {.windowClass = kPanelClass,  // Panel
     .style = WS_CLIPCHILDREN,
     .exStyle = WS_EX_CONTROLPARENT},
    {.windowClass = L"LISTBOX",  // FileList
     .style = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
     .exStyle = WS_EX_CLIENTEDGE},
    {.windowClass = L"STATIC",  // Label
     .style = SS_NOPREFIX,
     .layoutStyle = [](const ControlLayout& c) -> DWORD {
       return c.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
     },
     .bind = bindText,
     .alwaysColoured = true},
    {.windowClass = PROGRESS_CLASSW,  // ProgressBar
     .created = [](HWND hwnd) { SendMessageW(hwnd, PBM_SETRANGE32, 0, ProgressBar::kMaximum); },
     .bind =
         [](ChildWindow& child, const Model& bound) {
           follow(child, modelOf<ProgressBar>(bound), [](HWND hwnd, ProgressBar& model) {
             SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(model.value()), 0);
             const bool shown = (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
             if (shown != model.visible()) ShowWindow(hwnd, model.visible() ? SW_SHOWNA : SW_HIDE);
           });
         }},
};
static_assert(std::size(kAdapters) == static_cast<std::size_t>(ControlKind::ProgressBar) + 1);

}  // namespace

const ControlAdapter& adapterFor(ControlKind kind) {
  return kAdapters[static_cast<std::size_t>(kind)];
}

}  // namespace vcit::ui::win32
