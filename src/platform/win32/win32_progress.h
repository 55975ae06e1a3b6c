#pragma once

#include <windows.h>

#include <shobjidl.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/progress.h"
#include "platform/win32/scoped_win.h"

namespace vcit::platform {

// The progress of a long action on the desktop: the amount done on the taskbar button of
// `window` (ITaskbarList3), the wait cursor, the reason a shutdown meanwhile is held up, and
// the program's windows kept painted while the action runs on their thread. Only paint
// messages and COM's calls from other programs are taken from the queue meanwhile (and what
// other threads send, which every message retrieval runs), so the user's clicks, keys and
// close requests wait in the queue until the action is over; `holdHandlers` is told to hold
// back the handlers of what other programs send directly, and told again when it ends.
class Win32Progress : public Progress {
 public:
  Win32Progress() = default;
  Win32Progress(const Win32Progress&) = delete;
  Win32Progress& operator=(const Win32Progress&) = delete;

  void begin(std::uint64_t total) override;
  void advance(std::uint64_t done) override;
  void working() override { keepPainted(); }
  void end() override;

  // The window whose taskbar button shows the progress (none: no taskbar progress), and
  // whose refusal to let a shutdown end the action the system shows with shutdownReason.
  HWND window = nullptr;
  const wchar_t* shutdownReason = L"Applying the package changes to the game's main folder";
  std::function<void(bool held)> holdHandlers;
  // How often, at most, the windows are repainted and COM's calls answered during the action.
  DWORD paintIntervalMs = 50;

 private:
  void keepPainted();

  std::uint64_t total_ = 0;
  ULONGLONG lastPaint_ = 0;
  HWND comWindow_ = nullptr;
  HCURSOR previousCursor_ = nullptr;
  std::optional<win32::ComInit> com_;
  win32::ComPtr<ITaskbarList3> taskbar_;
};

}  // namespace vcit::platform
