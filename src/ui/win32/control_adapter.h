#pragma once

#include <windows.h>

#include <functional>

#include "ui/form_layout.h"
#include "ui/win32/child_window.h"
#include "ui/win32/window_subclass.h"

namespace vcit::ui::win32 {

// The window class of a panel, which the form registers.
inline constexpr wchar_t kPanelClass[] = L"VCITPanel";

// What a bound control's refresh asks of the form: move the focus on from a window that is
// about to be disabled.
using MoveFocusOn = std::function<void(HWND)>;

// How one kind of control lives on Win32: the window it is made of, how that window shows
// its model, and how the dialog keyboard and painting treat it.
struct ControlAdapter {
  const wchar_t* windowClass = nullptr;
  // The styles added to WS_CHILD and the layout's common ones (visible, enabled, tab stop,
  // border).
  void (*addStyles)(const ControlLayout& layout, DWORD& style, DWORD& exStyle) = nullptr;
  // Runs once the window exists; may be null.
  void (*created)(HWND hwnd) = nullptr;
  // Sees the window's messages before its own procedure (window.callOwn); may be null.
  using Hook = LRESULT (*)(const WindowSubclass& window, UINT message, WPARAM wParam,
                           LPARAM lParam);
  Hook message = nullptr;
  // Ties the model control to the window: the window follows the model from now on. Null for
  // a kind without a model.
  void (*bind)(ChildWindow& child, const Model& model, const MoveFocusOn& moveFocusOn) = nullptr;

  bool pressTakesFocus = false;  // pressing it (access key) first gives it the focus
  bool buttonLike = false;       // while it has the focus, a letter alone works as an access key
  bool pressedByEnter = false;   // Enter presses it when it has the focus
  bool tabSelectsText = false;   // the Tab key selects its text
  bool alwaysColoured = false;   // painted in its layout's colours even when they are the defaults
};

// The adapter of a kind of control.
const ControlAdapter& adapterFor(ControlKind kind);

}  // namespace vcit::ui::win32
