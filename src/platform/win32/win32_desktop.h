#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/desktop.h"

struct IShellDispatch;

namespace vcit::platform {

// Message boxes through MessageBoxA (text and title in the system code page), owned by the
// active window of the calling thread.
class Win32MessageBoxes : public MessageBoxes {
 public:
  int show(const std::string& text, const std::string& title, unsigned style) override;
};

// The clipboard: text goes on it as CF_UNICODETEXT and as CF_TEXT (code page). A clipboard
// that another program holds open is retried for a short while before error 521.
class Win32Clipboard : public Clipboard {
 public:
  void setText(const std::string& text) override;
  // The clipboard's CF_UNICODETEXT as UTF-8 (empty when it holds none); error 521 as above.
  std::string text();
};

// The shell's Run dialog. create() makes the shell's automation object (Shell, IShellDispatch);
// its FileRun asks the shell for the Run dialog and, only where that call fails (Wine answers
// E_NOTIMPL), opens the shell's own Run dialog (shell32's RunFileDlg) on a thread of its own,
// since that dialog is modal. FileRun returns once a new dialog has the keyboard focus; when
// none has it after a bounded wait it raises error 440, so that no keystrokes meant for the
// dialog go to another window. Dialogs still open when this object goes away are closed.
class Win32Shell : public Shell {
 public:
  Win32Shell();
  Win32Shell(const Win32Shell&) = delete;
  Win32Shell& operator=(const Win32Shell&) = delete;
  ~Win32Shell() override;

  std::unique_ptr<ShellObject> create() override;

  // How long FileRun waits for the dialog to have the focus.
  DWORD focusTimeoutMs = 5000;
  // Stands in for the automation object's FileRun when set (tests play a shell with it).
  std::function<HRESULT(IShellDispatch&)> fileRun;

  // What the last FileRun did, for diagnostics and tests: the automation call's result and
  // whether the shell's own dialog was opened instead.
  HRESULT lastFileRunResult = S_OK;
  bool lastUsedRunFileDlg = false;
  // The dialog window that had the focus at the end of the last FileRun (null when none).
  HWND lastDialog = nullptr;

  // Opens the shell's own Run dialog on a new thread; gives that thread's id (0 when shell32
  // offers no Run dialog).
  DWORD openRunFileDialog();
  // Closes every Run dialog this object opened and waits (bounded) for their threads.
  void closeDialogs();

 private:
  struct DialogThread;
  void reapFinished();

  std::mutex mutex_;
  std::vector<std::unique_ptr<DialogThread>> dialogs_;
};

// Decides what happens to a message taken from the queue before the standard translation and
// dispatch: true when it has been handled (IsDialogMessage for a window with keyboard
// navigation). The window toolkit installs one; its own message loop uses the same filter.
using MessageFilter = std::function<bool(MSG&)>;

// Translates and dispatches one message unless the filter handles it.
void dispatchMessage(MSG& message, const MessageFilter& filter);

// Processes every pending message of the calling thread, then returns. A WM_QUIT is put back
// for the program's message loop and ends the processing.
class Win32EventPump : public EventPump {
 public:
  void doEvents() override;
  MessageFilter filter;
};

// Keystrokes by SendInput, in the small key syntax of the toolkit: plain characters; "~" and
// "{enter}" for Enter; "{tab}", "{esc}", "{bs}", "{del}", "{home}", "{end}", "{left}" and the
// other named keys; "{+}" and the like for the special characters themselves; "+", "^" and
// "%" hold Shift, Ctrl and Alt for the next key or the parenthesized group. After sending, it
// waits (bounded) until the thread with the keyboard focus has taken every keystroke from its
// queue: a thread of this process (Wine opens the Run dialog here) is watched by a keyboard
// hook that counts them; a thread of another process is attached to, so that its key state
// (each key released, its toggle bit flipped once per press) is seen here. When the focus is
// in the calling thread, its own messages are processed meanwhile. A closed focus window
// (Enter ended the dialog) ends the wait too.
class Win32Keyboard : public Keyboard {
 public:
  void sendKeys(const std::string& keys) override;
  DWORD processedTimeoutMs = 3000;
  // Whose filter handles this thread's messages while the keystrokes are waited for.
  Win32EventPump* events = nullptr;

  struct Stroke {
    WORD vk = 0;       // virtual key; 0 with a character for a KEYEVENTF_UNICODE stroke
    wchar_t unit = 0;  // the character of a Unicode stroke
    bool up = false;
  };
  // The key-down and key-up strokes the text stands for (error 5 for a malformed text).
  static std::vector<Stroke> parse(const std::string& keys);
};

// Starts a program by CreateProcessW, in a normal window: a missing path is error 53, a folder
// error 70, a document or another file that is no program error 5.
class Win32ProgramStarter : public ProgramStarter {
 public:
  void start(const std::string& path) override;
};

}  // namespace vcit::platform
