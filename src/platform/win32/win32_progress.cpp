#include "platform/win32/win32_progress.h"

namespace vcit::platform {
namespace {

// A window whose paint handling never validates it would be given WM_PAINT for ever: a
// round of repainting takes this many messages at most.
constexpr int kMaxPaintsPerRound = 64;

// ITaskbarList3 counts in 64-bit amounts; its values must not pass the total.
constexpr ULONGLONG kTaskbarScale = 1u << 20;

ULONGLONG scaled(std::uint64_t done, std::uint64_t total) {
  if (total == 0) return 0;
  return static_cast<ULONGLONG>(static_cast<long double>(done) * kTaskbarScale / total);
}

}  // namespace

void Win32Progress::begin(std::uint64_t total) {
  total_ = total;
  lastPaint_ = GetTickCount64();
  if (holdHandlers) holdHandlers(true);
  previousCursor_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  if (!window) return;
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
  MSG message;
  for (int i = 0;
       i < kMaxPaintsPerRound && PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE);
       ++i)
    DispatchMessageW(&message);
  // What was dispatched may have set another cursor over the windows.
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

}  // namespace vcit::platform
