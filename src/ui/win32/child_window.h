#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/win32/scoped_win.h"
#include "ui/control.h"
#include "ui/form_layout.h"
#include "ui/win32/accessible_window.h"
#include "ui/win32/window_subclass.h"

namespace vcit::ui::win32 {

inline constexpr wchar_t kPanelClass[] = L"VCITPanel";

struct ChildWindow;

// How one kind of control lives on Win32 (adapterFor gives it).
struct ControlAdapter {
  const wchar_t* windowClass = nullptr;
  // The styles beyond the layout's common ones (visible, enabled, tab stop, border), and those
  // its layout entry adds. The functions may be null.
  DWORD style = 0;
  DWORD exStyle = 0;
  DWORD (*layoutStyle)(const ControlLayout& layout) = nullptr;
  // Runs once the window exists.
  void (*created)(HWND hwnd) = nullptr;
  // Sees the window's messages before its own procedure (window.callOwn).
  using Hook = LRESULT (*)(const WindowSubclass& window, UINT message, WPARAM wParam,
                           LPARAM lParam);
  Hook message = nullptr;
  // Ties the model control to the window: the window follows the model from now on.
  void (*bind)(ChildWindow& child, const Model& model) = nullptr;

  bool pressTakesFocus = false;  // pressing it (access key) first gives it the focus
  bool buttonLike = false;       // while it has the focus, a letter alone works as an access key
  bool pressedByEnter = false;   // Enter presses it when it has the focus
  bool tabSelectsText = false;   // the Tab key selects its text
  bool alwaysColoured = false;   // painted in its layout's colours even when they are the defaults
};

const ControlAdapter& adapterFor(ControlKind kind);

// One child window of a form and, once bound, the model control behind it; found by window or
// identifier in ChildWindows.
struct ChildWindow {
  const ControlLayout* layout = nullptr;
  const ControlAdapter* adapter = nullptr;
  HWND hwnd = nullptr;
  platform::win32::UniqueFont font;  // its own, when the layout gives one
  platform::win32::UniqueIcon icon;
  Control* model = nullptr;
  std::unique_ptr<AccessibleWindow> accessible;  // what screen readers read of it
  std::unique_ptr<WindowSubclass> subclass;      // the form's procedure in front of its own
};

struct ChildWindows : std::vector<std::unique_ptr<ChildWindow>> {
  ChildWindow* find(HWND hwnd) const {
    for (const auto& child : *this)
      if (hwnd && child->hwnd == hwnd) return child.get();
    return nullptr;
  }
  ChildWindow* findById(int id) const {
    for (const auto& child : *this)
      if (child->layout->id == id) return child.get();
    return nullptr;
  }
};

}  // namespace vcit::ui::win32
