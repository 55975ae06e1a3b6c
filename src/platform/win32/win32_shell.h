#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/desktop.h"

struct IShellDispatch;

namespace vcit::platform {

// The shell's Run dialog. create() makes the shell's automation object (Shell, IShellDispatch);
// its FileRun asks the shell for the Run dialog and, only where that call fails (Wine answers
// E_NOTIMPL), opens the shell's own Run dialog (shell32's RunFileDlg) on a thread of its own,
// since that dialog is modal. FileRun returns once a new
// dialog has the keyboard focus; when none has it after a bounded wait it raises error 440, so
// that no keystrokes meant for the dialog go to another window. Dialogs still open when this
// object goes away are closed.
class Win32Shell : public Shell {
 public:
  Win32Shell();
  Win32Shell(const Win32Shell&) = delete;
  Win32Shell& operator=(const Win32Shell&) = delete;
  ~Win32Shell() override;

  std::unique_ptr<ShellObject> create() override;

  // How long FileRun waits for the dialog to have the focus.
  DWORD focusTimeoutMs = 5000;
  // What one FileRun did.
  struct FileRunRecord {
    HRESULT result = S_OK;        // the automation call's result
    bool usedRunFileDlg = false;  // the shell's own dialog was opened instead
    HWND dialog = nullptr;        // the dialog that had the focus at the end; null when none
  };
  // For tests: stands in for the automation object's FileRun when set, to play another shell.
  std::function<HRESULT(IShellDispatch&)> fileRunForTesting;
  // For tests: what the last FileRun did.
  const FileRunRecord& lastFileRunForTesting() const { return lastFileRun_; }

  // Opens the shell's own Run dialog on a new thread; gives that thread's id (0 when shell32
  // offers no Run dialog).
  DWORD openRunFileDialog();
  // Closes every Run dialog this object opened and waits (bounded) for their threads.
  void closeDialogs();

 private:
  struct DialogThread;
  void reapFinished();

  class Object;
  FileRunRecord lastFileRun_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<DialogThread>> dialogs_;
};

}  // namespace vcit::platform
