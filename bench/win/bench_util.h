#pragma once

// Helpers of the Windows benchmarks and fault tests: handles, processes of our own, windows of
// another process, files with known contents, and the clock.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/text_conversion.h"

namespace vcit::bench {

inline std::wstring wide(const std::string& s) {
  return platform::win32::widen(s);
}
using platform::win32::narrow;

// A kernel handle, closed on destruction.
class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~Handle() { reset(); }
  Handle(Handle&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
  Handle& operator=(Handle&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = o.h_;
      o.h_ = nullptr;
    }
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void reset() {
    if (h_) CloseHandle(h_);
    h_ = nullptr;
  }

 private:
  HANDLE h_ = nullptr;
};

// Seconds on a monotonic clock.
double now();
// Seconds of processor time this thread has used (user and kernel): on a loaded machine the
// clock above also counts the time other programs ran.
double threadCpuTime();

// A process started by path in a working folder; ended hard at destruction when still running.
class Child {
 public:
  Child(const std::string& exe, const std::string& folder);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  DWORD id() const { return id_; }
  bool running() const;
  // TerminateProcess, then waits until the process is gone.
  void kill();
  // Closes the process's windows and waits for its end; kills it after the timeout.
  void close(int timeoutMs = 5000);

 private:
  Handle process_;
  DWORD id_ = 0;
};

std::string className(HWND hwnd);
std::string windowText(HWND hwnd);
// The first visible top-level window of the process: a message box (#32770) or another one.
HWND visibleWindow(DWORD processId, bool messageBox);
// Waits for a visible top-level window of the process that is no message box; gives null at
// the timeout or when a message box shows first (its text then goes to boxText).
HWND waitForMainWindow(DWORD processId, int timeoutMs, std::string* boxText = nullptr);
// The text of a message box (its static text).
std::string messageBoxText(HWND box);
// Presses a message box's OK button and waits until it is gone.
void answerOk(HWND box);
// The child window of a top-level window with this text (e.g. "&Apply"), or null.
HWND childWithText(HWND top, const std::string& text);
// The child windows of this class, in Z order.
std::vector<HWND> childrenOfClass(HWND top, const std::string& windowClass);
// A click on a button of another process, as its window procedure sees a user's click.
void clickButton(HWND button);
// Polls until the condition holds or the time is up.
template <class Condition>
bool waitFor(Condition condition, int timeoutMs) {
  const double end = now() + timeoutMs / 1000.0;
  while (!condition()) {
    if (now() > end) return false;
    Sleep(2);
  }
  return true;
}

// Files. Paths are Windows paths (a Unix path is reached through Z:).
void makeFolders(const std::string& path);
void removeTree(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool exists(const std::string& path);
std::uint64_t fileSize(const std::string& path);
// A file of this size whose bytes follow from the seed (no two seeds alike), flushed to the
// disk.
void writePattern(const std::string& path, std::uint64_t size, std::uint32_t seed);
// Overwrites the first and last 4 KB of a file with bytes from the seed (its size stays, its
// last-write time moves), so that it differs from every earlier version.
void restamp(const std::string& path, std::uint32_t seed);
// A 64-bit hash of the whole file (0 for a missing one).
std::uint64_t hashFile(const std::string& path);
// The names in a folder matching a pattern.
std::vector<std::string> listFolder(const std::string& folder, const std::string& pattern);

// One record of the state file.
std::string stateRecord(const std::string& name, int mark);

// "HKCU\Software\Brackwater\VCIT" "basepath".
void setBasePath(const std::string& folder);

// A Unix path as Wine's Z: path.
std::string windowsPath(const std::string& unixPath);

// Bytes this process has written so far through the system (the write count of the Unix
// process Wine runs it in), or nothing where that cannot be read.
std::optional<std::uint64_t> bytesWrittenByProcess();

}  // namespace vcit::bench
