#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/desktop.h"
#include "ui/form_layout.h"
#include "ui/label.h"

namespace vcit::platform::win32 {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const noexcept {
    if (object) DeleteObject(object);
  }
};
struct IconDeleter {
  void operator()(HICON icon) const noexcept {
    if (icon) DestroyIcon(icon);
  }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using UniquePen = std::unique_ptr<std::remove_pointer_t<HPEN>, GdiObjectDeleter>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// Twips to pixels at a DPI (15 twips are one pixel at 96 DPI).
int twipsToPixels(int twips, unsigned dpi);

// A top-level window built from a FormLayout: its child controls at their twips geometry in
// pixels of the window's DPI (and again when the DPI changes), model controls bound to their
// child windows, the keyboard interface of a dialog (Tab in the layout's order, access keys,
// default and cancel buttons), and every event handler run so that an error escaping it is
// shown as the common failure report instead of ending the program.
class Win32Form {
 public:
  // failures: where an error escaping an event handler is reported.
  Win32Form(const ui::FormLayout& layout, MessageBoxes& failures);
  ~Win32Form();
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;

  // Ties model controls to their child windows (id 0 with a label: the caption). The window
  // shows the model's state from now on; clicks on the child windows reach the model.
  void bind(const std::vector<ui::Binding>& bindings);

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

 private:
  struct Child;
  static LRESULT CALLBACK formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK panelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static void registerClasses();
  static Win32Form* owning(HWND anyWindow);

  LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handlePanel(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
  bool handleKey(const MSG& msg);
  // Focus rectangles and access-key underlines show once the keyboard is used.
  void showKeyboardCues();
  void createChildren();
  void applyDpi(unsigned dpi, const RECT* suggested);
  // Sizes the window for the layout's client area; moves it to the layout's position on the
  // screen when it has one and atDesignedPosition.
  void placeWindow(bool atDesignedPosition);
  void layoutChildren();
  void refreshFonts();
  Child* find(HWND hwnd);
  Child* findById(int id);
  void clicked(Child& child);
  // Runs an event handler; an error escaping it gives the common failure report.
  void dispatch(const std::function<void()>& handler);
  // Tab selects a text box's text, as in dialogs.
  void focusControl(Child& child, bool selectText = false);
  void focusNext(HWND from, bool backward);
  Child* firstFocusable();
  bool canFocus(const Child& child) const;
  Child* mnemonicTarget(wchar_t key);
  Child* defaultButton(bool cancel);
  void paintLines(HDC dc);
  HBRUSH colours(HDC dc, HWND control);
  HBRUSH brushFor(ui::Colour colour);
  void press(Child& child);

  const ui::FormLayout& layout_;
  MessageBoxes& failures_;
  HWND hwnd_ = nullptr;
  unsigned dpi_ = 96;
  bool shown_ = false;
  HWND lastFocus_ = nullptr;
  UniqueFont font_;
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  std::vector<std::unique_ptr<Child>> children_;
  std::array<UniqueBrush, 7> brushes_;
  std::vector<Child*> tabOrder_;
  ui::Label* captionModel_ = nullptr;
};

}  // namespace vcit::platform::win32
