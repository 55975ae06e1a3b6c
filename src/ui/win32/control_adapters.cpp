// The adapters of the control kinds: one table, a row per kind.

#include "ui/win32/control_adapter.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <type_traits>
#include <variant>

#include "core/runtime_error.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/text_conversion.h"
#include "ui/check_box.h"
#include "ui/command_button.h"
#include "ui/label.h"
#include "ui/progress_bar.h"
#include "ui/text_box.h"
#include "ui/win32/window_classes.h"

namespace vcit::ui::win32 {

namespace {

using platform::win32::widen;

template <class Model>
Model& modelOf(const Binding& binding) {
  Model* const* model = std::get_if<Model*>(&binding.control);
  if (!model || !*model)
    throw RuntimeError(err::kInternalError, "A model control of another kind than its window");
  return **model;
}

// A text box or a label shows the text of either model.
TextControl& textModelOf(const Binding& binding) {
  TextControl* text = binding.text();
  if (!text) throw RuntimeError(err::kInternalError, "A model control without a text");
  return *text;
}

void noBinding(ChildWindow&, const Binding&, const MoveFocusOn&) {
  throw RuntimeError(err::kInternalError, "This kind of control has no model");
}

// A check box without a caption has no text to draw its focus rectangle around: it is drawn
// around the box itself.
LRESULT checkBoxMessage(const WindowSubclass& window, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = window.hwnd();
  switch (message) {
    case WM_PAINT: {
      const LRESULT result = window.callOwn(message, wParam, lParam);
      const auto uiState = static_cast<UINT>(SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0));
      if (GetFocus() == hwnd && !(uiState & UISF_HIDEFOCUS) && GetWindowTextLengthW(hwnd) == 0) {
        const platform::win32::WindowDC dc(hwnd);
        RECT client;
        GetClientRect(hwnd, &client);
        DrawFocusRect(dc.get(), &client);
      }
      return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    default:
      break;
  }
  return window.callOwn(message, wParam, lParam);
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

void bindText(ChildWindow& child, const Binding& binding, const MoveFocusOn&) {
  TextControl& model = textModelOf(binding);
  child.model = &model;
  const HWND hwnd = child.hwnd;
  auto refresh = [hwnd, &model] { showText(hwnd, widen(model.text())); };
  model.bindView(refresh);
  refresh();
}

const ControlAdapter kCommandButton{
    L"BUTTON",
    [](const ControlLayout& c, DWORD& style, DWORD&) {
      style |= c.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    },
    nullptr,
    nullptr,
    [](ChildWindow& child, const Binding& binding, const MoveFocusOn& moveFocusOn) {
      CommandButton& model = modelOf<CommandButton>(binding);
      child.model = &model;
      child.click = [&model] { model.click(); };
      const HWND hwnd = child.hwnd;
      auto refresh = [hwnd, &model, moveFocusOn] {
        if (!model.enabled() && GetFocus() == hwnd) moveFocusOn(hwnd);
        EnableWindow(hwnd, model.enabled() ? TRUE : FALSE);
      };
      model.bindView(refresh);
      refresh();
    },
    /*pressTakesFocus=*/false,
    /*buttonLike=*/true,
    /*pressedByEnter=*/true,
    /*tabSelectsText=*/false,
    /*alwaysColoured=*/false,
};

const ControlAdapter kCheckBox{
    L"BUTTON",
    [](const ControlLayout&, DWORD& style, DWORD&) {
      style |= BS_3STATE;  // the model decides the state; a click only tells it
    },
    nullptr,
    checkBoxMessage,
    [](ChildWindow& child, const Binding& binding, const MoveFocusOn&) {
      CheckBox& model = modelOf<CheckBox>(binding);
      child.model = &model;
      child.click = [&model] { model.userClick(); };
      const HWND hwnd = child.hwnd;
      auto refresh = [hwnd, &model] {
        const WPARAM state = model.value() == CheckBox::kChecked  ? BST_CHECKED
                             : model.value() == CheckBox::kGrayed ? BST_INDETERMINATE
                                                                  : BST_UNCHECKED;
        SendMessageW(hwnd, BM_SETCHECK, state, 0);
      };
      model.bindView(refresh);
      refresh();
    },
    /*pressTakesFocus=*/true,
    /*buttonLike=*/true,
    /*pressedByEnter=*/false,
    /*tabSelectsText=*/false,
    /*alwaysColoured=*/false,
};

const ControlAdapter kTextBox{
    L"EDIT",
    [](const ControlLayout& c, DWORD& style, DWORD&) {
      style |= ES_LEFT | ES_AUTOHSCROLL | (c.readOnly ? ES_READONLY : 0);
    },
    nullptr,
    nullptr,
    bindText,
    /*pressTakesFocus=*/false,
    /*buttonLike=*/false,
    /*pressedByEnter=*/false,
    /*tabSelectsText=*/true,
    /*alwaysColoured=*/false,
};

const ControlAdapter kPanel{
    kPanelClass,
    [](const ControlLayout&, DWORD& style, DWORD& exStyle) {
      style |= WS_CLIPCHILDREN;
      exStyle |= WS_EX_CONTROLPARENT;
    },
    nullptr,
    nullptr,
    noBinding,
    /*pressTakesFocus=*/false,
    /*buttonLike=*/false,
    /*pressedByEnter=*/false,
    /*tabSelectsText=*/false,
    /*alwaysColoured=*/false,
};

const ControlAdapter kFileList{
    L"LISTBOX",
    [](const ControlLayout&, DWORD& style, DWORD& exStyle) {
      style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
      exStyle |= WS_EX_CLIENTEDGE;
    },
    nullptr,
    nullptr,
    noBinding,
    /*pressTakesFocus=*/false,
    /*buttonLike=*/false,
    /*pressedByEnter=*/false,
    /*tabSelectsText=*/false,
    /*alwaysColoured=*/false,
};

const ControlAdapter kLabel{
    L"STATIC",
    [](const ControlLayout& c, DWORD& style, DWORD&) {
      style |= SS_NOPREFIX | (c.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
    },
    nullptr,
    nullptr,
    bindText,
    /*pressTakesFocus=*/false,
    /*buttonLike=*/false,
    /*pressedByEnter=*/false,
    /*tabSelectsText=*/false,
    /*alwaysColoured=*/true,
};

const ControlAdapter kProgressBar{
    PROGRESS_CLASSW,
    [](const ControlLayout&, DWORD&, DWORD&) {},
    [](HWND hwnd) { SendMessageW(hwnd, PBM_SETRANGE32, 0, ProgressBar::kMaximum); },
    nullptr,
    [](ChildWindow& child, const Binding& binding, const MoveFocusOn&) {
      ProgressBar& model = modelOf<ProgressBar>(binding);
      child.model = &model;
      const HWND hwnd = child.hwnd;
      auto refresh = [hwnd, &model] {
        SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(model.value()), 0);
        const bool shown = (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
        if (shown != model.visible()) ShowWindow(hwnd, model.visible() ? SW_SHOWNA : SW_HIDE);
      };
      model.bindView(refresh);
      refresh();
    },
    /*pressTakesFocus=*/false,
    /*buttonLike=*/false,
    /*pressedByEnter=*/false,
    /*tabSelectsText=*/false,
    /*alwaysColoured=*/false,
};

// In the order of ControlKind.
const std::array<const ControlAdapter*, 7> kAdapters{
    &kCommandButton, &kCheckBox, &kTextBox, &kPanel, &kFileList, &kLabel, &kProgressBar};
static_assert(static_cast<int>(ControlKind::CommandButton) == 0 &&
              static_cast<int>(ControlKind::CheckBox) == 1 &&
              static_cast<int>(ControlKind::TextBox) == 2 &&
              static_cast<int>(ControlKind::Panel) == 3 &&
              static_cast<int>(ControlKind::FileList) == 4 &&
              static_cast<int>(ControlKind::Label) == 5 &&
              static_cast<int>(ControlKind::ProgressBar) == 6);

}  // namespace

const ControlAdapter& adapterFor(ControlKind kind) {
  return *kAdapters.at(static_cast<std::size_t>(kind));
}

}  // namespace vcit::ui::win32
