#pragma once

// One launcher per program folder in a session: a second start brings the running launcher's
// window to the front and ends. Launchers unpacked into other folders run side by side.

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/win32/scoped_win.h"

namespace vcit::platform::win32 {

class SingleInstance {
 public:
  // The objects of the running executable's folder: a mutex, held by the launcher that runs,
  // and a small shared block where it leaves its process id and its window.
  SingleInstance();
  // The objects of this name (a test's).
  explicit SingleInstance(const std::wstring& objectName);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when this process is now the launcher of its folder (also when the objects could not
  // be made: a start is never refused for that). False when another launcher of the folder
  // runs: its window, or the message box it shows, has been brought to the front. A launcher
  // that has only just started may not show a window yet: that is waited for up to waitMs, and
  // when it ends meanwhile, this process takes its place. Objects that refuse this user are
  // another launcher's (one run elevated by an earlier build, whose objects kept the elevated
  // token's rules): false as well, having brought its window forward where its block can be
  // read. This build makes them so that every user of the session may wait on and read them.
  bool claim(DWORD waitMs = 5000);
  // The window a later start brings to the front (restored when minimized).
  void publish(HWND window);

 private:
  // The block the objects' owner shares with later starts.
  struct Shared {
    volatile LONG processId;
    volatile LONG64 window;
  };

  bool takeOwnership();
  bool bringRunningToFront() const;

  UniqueHandle mutex_;
  UniqueHandle mapping_;
  UniqueMappedView view_;
  Shared* shared_ = nullptr;
  bool writable_ = false;  // the block: false when only read (made with other rules)
  bool refused_ = false;   // the mutex: made by another launcher with rules that keep us out
  bool owned_ = false;
};

}  // namespace vcit::platform::win32
