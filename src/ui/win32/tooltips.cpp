#include "ui/win32/tooltips.h"

#include <commctrl.h>

#include "platform/win32/text_conversion.h"
#include "ui/accessibility.h"

namespace vcit::ui::win32 {

namespace {

constexpr int kMaxWidth = 480;     // pixels at 96 DPI: longer lines wrap
constexpr WORD kShownFor = 30000;  // milliseconds: long enough to read a few lines

}  // namespace

Tooltips::~Tooltips() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

void Tooltips::create(HWND form, const ChildWindows& children, unsigned dpi) {
  for (const auto& child : children) {
    if (!child->layout->descriptionOf) continue;
    if (!window_) {
      // Made by its class name: the common controls' DLL has registered it (ICC_TAB_CLASSES).
      window_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
      if (!window_) return;  // the window works without tooltips
      SendMessageW(window_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kShownFor, 0));
      setDpi(dpi);
    }
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // what comctl32 5 and 6 both take
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = form;
    tool.uId = reinterpret_cast<UINT_PTR>(child->hwnd);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void Tooltips::setDpi(unsigned dpi) {
  if (window_)
    SendMessageW(window_, TTM_SETMAXTIPWIDTH, 0, MulDiv(kMaxWidth, static_cast<int>(dpi), 96));
}

bool Tooltips::notified(const NMHDR& header, LPARAM lParam, const ChildWindows& children,
                        FormLogic* logic) {
  if (!window_ || header.hwndFrom != window_ || header.code != TTN_GETDISPINFOW) return false;
  auto& info = *reinterpret_cast<NMTTDISPINFOW*>(lParam);
  text_.clear();
  if (const ChildWindow* child = children.find(reinterpret_cast<HWND>(header.idFrom))) {
    std::string text;
    try {
      text = descriptionOf(*child->layout, logic).value_or(std::string());
    } catch (...) {
      text.clear();  // a hover never ends in a message
    }
    for (const wchar_t c : platform::win32::widen(text)) {
      if (c == L'\n') text_ += L'\r';
      text_ += c;
    }
  }
  info.lpszText = text_.data();
  info.hinst = nullptr;
  return true;
}

void Tooltips::refresh() {
  if (window_) SendMessageW(window_, TTM_UPDATE, 0, 0);
}

}  // namespace vcit::ui::win32
