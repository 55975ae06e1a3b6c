#pragma once

// A program under test or under measurement, started as a user starts it. Windows only.

#ifdef _WIN32

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vcit::e2e {

// A started program: CreateProcess in its own folder or in the working folder given (the
// current directory), extra environment entries ("NAME=value") added. Ended at destruction
// when still running.
class Process {
 public:
  Process(const std::string& exePath, const std::vector<std::string>& environment = {},
          const std::string& workingFolder = {});
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  DWORD id() const { return info_.dwProcessId; }
  bool running() const;
  // The exit code once the process has ended within the timeout.
  std::optional<DWORD> waitForExit(int timeoutMs = 10000);
  // A visible top-level window with this caption, waited for.
  HWND waitForWindow(const std::string& caption, int timeoutMs = 15000);
  // The first visible top-level window that is no message box, polled for every pollMs; null
  // after the timeout, at the process's end, or when a message box shows first (its text then
  // goes to boxText).
  HWND waitForMainWindow(int timeoutMs, std::string* boxText = nullptr, int pollMs = 20);
  // TerminateProcess, and waits until the process is gone.
  void terminate();
  // Closes the process's windows (WM_CLOSE) and waits for its end; terminates it after the
  // timeout.
  void close(int timeoutMs = 5000);

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace vcit::e2e

#endif  // _WIN32
