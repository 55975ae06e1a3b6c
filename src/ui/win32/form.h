#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <vector>

#include "ui/form_layout.h"
#include "ui/label.h"
#include "ui/win32/child_window.h"
#include "ui/win32/dialog_keyboard.h"
#include "ui/win32/geometry.h"
#include "ui/win32/painting.h"

namespace vcit::ui::win32 {

// Where an error escaping an event handler of a form goes.
using ErrorSink = std::function<void(const std::exception&)>;

// A top-level window built from a FormLayout: its child controls at their twips geometry in
// pixels of the window's DPI (and again when the DPI changes), model controls bound to their
// child windows, the keyboard interface of a dialog (Tab in the layout's order, access keys,
// default and cancel buttons), and every event handler run so that an error escaping it goes
// to the error sink instead of ending the program.
class Form {
 public:
  // onError: given every error that escapes an event handler (anything that is not a
  // std::exception arrives as run-time error 51).
  Form(const FormLayout& layout, ErrorSink onError);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Ties model controls to their child windows (id 0 with a label: the caption). The window
  // shows the model's state from now on; clicks on the child windows reach the model.
  void bind(const std::vector<Binding>& bindings);

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

  // A close request (frame, Alt+F4, close()); without it the window is destroyed.
  std::function<void()> onCloseRequest;
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
  static LRESULT CALLBACK formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK panelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static void registerClasses();

  LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handlePanel(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
  void createChildren();
  void createChild(const ControlLayout& c);
  void applyDpi(unsigned dpi, const RECT* suggested);
  void clicked(ChildWindow& child);
  // Runs an event handler; an error escaping it goes to the error sink.
  void dispatch(const std::function<void()>& handler);
  void reportError(const std::exception& e);
  // Posts the message again when handlers are held; true when it did.
  static bool deferredWhileHeld(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  static inline int handlersHeld_ = 0;

  const FormLayout& layout_;
  ErrorSink onError_;
  HWND hwnd_ = nullptr;
  unsigned dpi_ = 96;
  bool shown_ = false;
  HWND lastFocus_ = nullptr;
  ChildWindows children_;
  DpiResources dpiResources_;
  Palette palette_;
  DialogKeyboard keyboard_;
  Label* captionModel_ = nullptr;
};

}  // namespace vcit::ui::win32
