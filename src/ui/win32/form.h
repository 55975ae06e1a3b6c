#pragma once

#include <windows.h>

#include <functional>

#include "platform/desktop.h"
#include "ui/form_layout.h"
#include "ui/label.h"
#include "ui/win32/child_window.h"
#include "ui/win32/dialog_keyboard.h"
#include "ui/win32/geometry.h"
#include "ui/win32/painting.h"

namespace vcit::ui::win32 {

// A top-level window built from a FormLayout: its child controls at their twips geometry in
// pixels of the window's DPI (and again when the DPI changes), the keyboard interface of a
// dialog (Tab in the layout's order, access keys, default and cancel buttons), and, once
// started with its logic, the logic's model controls shown in the child windows and a click on
// a child window running the handler its layout entry names. An error escaping a handler ends
// as the common failure report (ui::reportCaught), in one place: the window's procedure.
class Form {
 public:
  // failures: where the failure report of an error escaping a handler is shown.
  Form(const FormLayout& layout, platform::MessageBoxes& failures);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // The one way the window comes up with its logic, in this order: the logic's Form_Load, when
  // given (an error escaping it is reported, as a handler's), then the models bound to the
  // child windows (each control is set once, to what the loaded logic holds; from then on the
  // window follows the model), then the window shown with the command.
  void start(FormLogic& logic, Handler formLoad, int showCommand);
  // Shows the window: the first time with the given command (SW_SHOWNORMAL, a start-up's
  // nCmdShow), later as it was.
  void show(int command = SW_SHOWNORMAL);
  // Brings the window to the front and activates it (restoring it when minimized).
  void bringToFront();
  // Asks the window to close, as its frame's close button does, once the current event is
  // over (so a handler may close its own window).
  void close();
  // Destroys the window now.
  void destroy();

  HWND hwnd() const { return hwnd_; }
  HWND child(int id) const;
  unsigned dpi() const { return dpi_; }

  // Runs once the window is gone; it may destroy this object.
  std::function<void()> onDestroyed;
  // Whether destroying the window ends the message loop.
  bool quitOnDestroy = false;

  // The keyboard handling of the message loop for the windows of this toolkit: true when the
  // message has been handled and must not be dispatched.
  static bool preTranslate(MSG& msg);
  // Runs the message loop until WM_QUIT; gives its exit code.
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
  // Posts the message again when handlers are held; true when it did.
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
  Palette palette_;
  DialogKeyboard keyboard_{children_};
  Label* captionModel_ = nullptr;
};

}  // namespace vcit::ui::win32
