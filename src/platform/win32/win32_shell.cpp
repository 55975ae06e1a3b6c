#include "platform/win32/win32_shell.h"

#include <shldisp.h>

#include <atomic>
#include <future>
#include <thread>
#include <utility>

#include "core/runtime_error.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/win32_waiting.h"

namespace vcit::platform {
namespace {

using win32::ComInit;
using win32::ComPtr;
using win32::dialogOfThread;
using win32::hasKeyboardFocus;
using win32::newFocusedDialog;
using win32::pause;

constexpr int kCantCreateObject = 429;
constexpr const char* kNoRunDialog = "Automation error: the Run dialog did not open";

// Shell, {13709620-C279-11CE-A49E-444553540000}, and its IShellDispatch interface.
constexpr CLSID kShellClass = {
    0x13709620, 0xC279, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr IID kShellDispatchInterface = {
    0xD8F015C0, 0xC278, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

}  // namespace

// The COM apartment lives as long as the object; the interface is released before it.
class Win32Shell::Object : public ShellObject {
 public:
  explicit Object(Win32Shell& shell) : shell_(shell) {
    const HRESULT hr =
        CoCreateInstance(kShellClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                         kShellDispatchInterface, dispatch_.out());
    if (FAILED(hr)) throw RuntimeError(kCantCreateObject, "ActiveX component can't create object");
  }

  void FileRun() override {
    const HWND before = GetForegroundWindow();
    const HRESULT hr = shell_.fileRunForTesting ? shell_.fileRunForTesting(*dispatch_.get())
                                                : dispatch_->FileRun();
    Win32Shell::FileRunRecord& record = shell_.lastFileRun_;
    record = {hr, false, nullptr};
    HWND dialog = nullptr;
    // The shell's own dialog is opened only when the shell could not open its Run dialog: a
    // slow shell whose dialog comes late must not leave two of them.
    if (SUCCEEDED(hr)) {
      dialog = waitForAnyDialog(before, shell_.focusTimeoutMs);
    } else if (const DWORD thread = shell_.openRunFileDialog()) {
      record.usedRunFileDlg = true;
      dialog = waitForDialogOf(thread, shell_.focusTimeoutMs);
    }
    record.dialog = dialog;
    // The launch types Ctrl+V and Enter next, into whatever has the focus: without a Run
    // dialog there, that would paste and "send" into an unrelated window (or press the
    // launcher's own focused button), so the launch stops here with an error instead.
    if (!dialog) throw RuntimeError(err::kAutomationError, kNoRunDialog);
  }

 private:
  static HWND waitForAnyDialog(HWND before, DWORD timeout) {
    const ULONGLONG deadline = GetTickCount64() + timeout;
    for (;;) {
      if (const HWND dialog = newFocusedDialog(before)) return dialog;
      if (GetTickCount64() >= deadline) return nullptr;
      pause(10);
    }
  }

  // Our own Run dialog: once it is up it is brought to the foreground (this process has the
  // foreground, so it may hand it on) until its edit field has the focus.
  static HWND waitForDialogOf(DWORD thread, DWORD timeout) {
    const ULONGLONG deadline = GetTickCount64() + timeout;
    ULONGLONG nextRaise = 0;
    for (;;) {
      const HWND dialog = dialogOfThread(thread);
      if (dialog && hasKeyboardFocus(dialog)) return dialog;
      if (GetTickCount64() >= deadline) return nullptr;
      if (dialog && GetTickCount64() >= nextRaise) {
        SetForegroundWindow(dialog);
        nextRaise = GetTickCount64() + 200;
      }
      pause(10);
    }
  }

  ComInit com_;
  ComPtr<IShellDispatch> dispatch_;
  Win32Shell& shell_;
};

struct Win32Shell::DialogThread {
  std::thread thread;
  DWORD id = 0;
  std::atomic<bool> done{false};
};

Win32Shell::Win32Shell() = default;

Win32Shell::~Win32Shell() {
  closeDialogs();
}

std::unique_ptr<ShellObject> Win32Shell::create() {
  reapFinished();
  return std::make_unique<Object>(*this);
}

DWORD Win32Shell::openRunFileDialog() {
  // RunFileDlg(owner, icon, directory, title, description, flags), exported by ordinal only.
  using RunFileDlgFn = void(WINAPI*)(HWND, HICON, LPCWSTR, LPCWSTR, LPCWSTR, UINT);
  const HMODULE shell32 = GetModuleHandleW(L"shell32.dll");
  const FARPROC proc = shell32 ? GetProcAddress(shell32, MAKEINTRESOURCEA(61)) : nullptr;
  if (!proc) return 0;
  const auto runFileDlg = reinterpret_cast<RunFileDlgFn>(reinterpret_cast<void (*)()>(proc));

  reapFinished();
  auto dialog = std::make_unique<DialogThread>();
  DialogThread* state = dialog.get();
  std::promise<DWORD> started;
  std::future<DWORD> id = started.get_future();
  dialog->thread = std::thread([runFileDlg, state, started = std::move(started)]() mutable {
    started.set_value(GetCurrentThreadId());
    {
      // The dialog starts programs through ShellExecuteEx, which wants COM on its thread.
      const ComInit com;
      runFileDlg(nullptr, nullptr, nullptr, nullptr, nullptr, 0);
    }
    state->done = true;
  });
  dialog->id = id.get();
  const DWORD threadId = dialog->id;
  std::lock_guard lock(mutex_);
  dialogs_.push_back(std::move(dialog));
  return threadId;
}

void Win32Shell::reapFinished() {
  std::lock_guard lock(mutex_);
  for (auto it = dialogs_.begin(); it != dialogs_.end();) {
    if ((*it)->done) {
      (*it)->thread.join();
      it = dialogs_.erase(it);
    } else {
      ++it;
    }
  }
}

void Win32Shell::closeDialogs() {
  std::lock_guard lock(mutex_);
  const ULONGLONG deadline = GetTickCount64() + 3000;
  for (;;) {
    bool open = false;
    for (const auto& dialog : dialogs_) {
      if (dialog->done) continue;
      open = true;
      // A message box above the dialog (the dialog's own "not found") closes first, then the
      // dialog on a later round.
      EnumThreadWindows(
          dialog->id,
          [](HWND window, LPARAM) -> BOOL {
            if (IsWindowVisible(window) && IsWindowEnabled(window))
              PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
          },
          0);
    }
    if (!open || GetTickCount64() >= deadline) break;
    pause(50);
  }
  for (auto& dialog : dialogs_) {
    if (dialog->done)
      dialog->thread.join();
    else
      dialog->thread.detach();  // a dialog that refuses to close dies with the process
  }
  dialogs_.clear();
}

}  // namespace vcit::platform
