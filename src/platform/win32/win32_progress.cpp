#include "platform/win32/win32_progress.h"

namespace vcit::platform {
namespace {

// A window whose paint handling never validates it would be given WM_PAINT for ever: a
// round of repainting takes this many messages at most, and as many of COM's.
constexpr int kMaxMessagesPerRound = 64;

// ITaskbarList3 counts in 64-bit amounts; its values must not pass the total.
constexpr ULONGLONG kTaskbarScale = 1u << 20;

ULONGLONG scaled(std::uint64_t done, std::uint64_t total) {
  if (total == 0) return 0;
  return static_cast<ULONGLONG>(static_cast<long double>(done) * kTaskbarScale / total);
}

// COM's hidden window of this thread's apartment, none before COM made it: the calls that
// other programs make on the objects this thread handed out (a screen reader's on the
// windows' accessible objects) come as messages posted to it. It is a message-only window;
// older systems made it a top-level one.
HWND comWindowOfThisThread() {
  const DWORD thread = GetCurrentThreadId();
  for (const HWND parent : {HWND_MESSAGE, HWND{nullptr}}) {
    HWND found = nullptr;
    while ((found = FindWindowExW(parent, found, L"OleMainThreadWndClass", nullptr)))
      if (GetWindowThreadProcessId(found, nullptr) == thread) return found;
  }
  return nullptr;
}

// Takes the messages of one window, or those of one kind, from the queue and handles them.
void dispatchQueued(HWND window, UINT kind) {
  MSG message;
  for (int i = 0; i < kMaxMessagesPerRound && PeekMessageW(&message, window, kind, kind, PM_REMOVE);
       ++i)
    DispatchMessageW(&message);
}

}  // namespace

void Win32Progress::begin(std::uint64_t total) {
  total_ = total;
  lastPaint_ = GetTickCount64();
  if (holdHandlers) holdHandlers(true);
  previousCursor_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  if (!window) return;
  ShutdownBlockReasonCreate(window, shutdownReason);
  com_.emplace();
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                              taskbar_.out())) ||
      FAILED(taskbar_->HrInit())) {
    taskbar_.reset();  // no taskbar to show it on: the action goes on without
    return;
  }
  taskbar_->SetProgressState(window, TBPF_NORMAL);
  taskbar_->SetProgressValue(window, 0, kTaskbarScale);
}

void Win32Progress::advance(std::uint64_t done) {
  if (taskbar_) taskbar_->SetProgressValue(window, scaled(done, total_), kTaskbarScale);
  keepPainted();
}

void Win32Progress::end() {
  if (taskbar_) taskbar_->SetProgressState(window, TBPF_NOPROGRESS);
  if (window) ShutdownBlockReasonDestroy(window);
  taskbar_.reset();
  com_.reset();
  SetCursor(previousCursor_ ? previousCursor_ : LoadCursorW(nullptr, IDC_ARROW));
  previousCursor_ = nullptr;
  if (holdHandlers) holdHandlers(false);
}

void Win32Progress::keepPainted() {
  const ULONGLONG now = GetTickCount64();
  if (now - lastPaint_ < paintIntervalMs) return;
  lastPaint_ = now;
  dispatchQueued(nullptr, WM_PAINT);
  // A screen reader reads the windows meanwhile: its calls are answered, while the program's
  // own handlers stay held.
  if (GetWindowThreadProcessId(comWindow_, nullptr) != GetCurrentThreadId())
    comWindow_ = comWindowOfThisThread();
  if (comWindow_) dispatchQueued(comWindow_, 0);
  // What was dispatched may have set another cursor over the windows.
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

}  // namespace vcit::platform
