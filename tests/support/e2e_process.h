#pragma once

// The program under test, started as a user starts it. Windows only.

#ifdef _WIN32

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vcit::e2e {

// A started program: CreateProcess in its own folder (the current directory), extra
// environment entries ("NAME=value") added. Ended at destruction when still running.
class Process {
 public:
  Process(const std::string& exePath, const std::vector<std::string>& environment = {});
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  DWORD id() const { return info_.dwProcessId; }
  bool running() const;
  // The exit code once the process has ended within the timeout.
  std::optional<DWORD> waitForExit(int timeoutMs = 10000);
  // A visible top-level window with this caption, waited for.
  HWND waitForWindow(const std::string& caption, int timeoutMs = 15000);
  void terminate();

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace vcit::e2e

#endif  // _WIN32
