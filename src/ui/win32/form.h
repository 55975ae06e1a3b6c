#pragma once

#include <windows.h>

#include <functional>

#include "platform/desktop.h"
#include "ui/form_layout.h"
#include "ui/label.h"
#include "ui/win32/appearance.h"
#include "ui/win32/child_window.h"
#include "ui/win32/dialog_keyboard.h"
#include "ui/win32/tooltips.h"

namespace vcit::ui::win32 {

// A top-level window built from a FormLayout, laid out at its DPI, with a dialog's keyboard
// interface; once started, its child windows show the logic's models and a click runs the
// handler the layout entry names. An error escaping a handler ends as the common failure report
// (ui::reportCaught) in one place: the window's procedure.
class Form {
 public:
  Form(const FormLayout& layout, platform::MessageBoxes& failures);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // The one way the window comes up with its logic: formLoad (when given; an error is reported
  // as a handler's), then the models bound to the child windows, then the window shown.
  void start(FormLogic& logic, Handler formLoad, int showCommand);
  // The first time with the given command (a start-up's nCmdShow), later as it was.
  void show(int command = SW_SHOWNORMAL);
  void bringToFront();
  // As the frame's close button does, once the current event is over.
  void close() {
    if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  }
  void destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
  }

  HWND hwnd() const { return hwnd_; }
  HWND child(int id) const;
  unsigned dpi() const { return dpi_; }

  // Runs once the window is gone; it may destroy this object.
  std::function<void()> onDestroyed;
  bool quitOnDestroy = false;

  // The dialog keyboard of the message loop: true when the message must not be dispatched.
  static bool preTranslate(MSG& msg);
  static int runMessageLoop();
  // While held, a click or close request that reaches a form (another program may send one
  // while a long action keeps the windows painted) is posted again instead of running its
  // handler, so it takes effect once the action is over. Holds nest.
  static void holdHandlers(bool held);

 private:
  // The procedure of the form and of its panels.
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static void registerClasses();

  LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void createChildren();
  void createChild(const ControlLayout& c);
  void bind(FormLogic& logic);
  void applyDpi(unsigned dpi, const RECT* suggested);
  void followScheme(UINT message, WPARAM wParam, LPARAM lParam);
  static bool deferredWhileHeld(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  static inline int handlersHeld_ = 0;
  static inline ATOM formClass_ = 0;

  const FormLayout& layout_;
  platform::MessageBoxes& failures_;
  FormLogic* logic_ = nullptr;
  HWND hwnd_ = nullptr;
  unsigned dpi_ = 96;
  bool shown_ = false;
  HWND lastFocus_ = nullptr;
  ChildWindows children_;
  DpiResources dpiResources_;
  Palette palette_{layout_};
  DialogKeyboard keyboard_{children_};
  Tooltips tooltips_;
  Label* captionModel_ = nullptr;
};

}  // namespace vcit::ui::win32
