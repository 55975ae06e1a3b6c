#pragma once

// The file calls of this program as the system gets them, by patching the functions it imports
// from kernel32: a test sees in which order data is written, flushed and renamed, whatever
// code makes the calls, and can hold a flush as a slow disk would.

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace vcit::platform {

// Puts `replacement` in the place of a function this program imports from `dll`, for every
// call that this program's .exe makes (its import address table), until it goes away.
class ImportPatch {
 public:
  ImportPatch(const char* dll, const char* function, void* replacement);
  ~ImportPatch();
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;
  void* original() const { return original_; }

 private:
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

// While it lives, records each WriteFile, FlushFileBuffers and MoveFileExW call of the
// program, from any thread, as "write NAME", "flush NAME" and "rename NAME -> NAME" (a
// file's name without its folder). One at a time.
class FileCallTrace {
 public:
  FileCallTrace();
  ~FileCallTrace();
  FileCallTrace(const FileCallTrace&) = delete;
  FileCallTrace& operator=(const FileCallTrace&) = delete;

  // The calls whose first file is `name`, a run of the same call told once.
  std::vector<std::string> callsOn(const std::string& name) const;
  // Every call, in order.
  std::vector<std::string> calls() const;
  // Flushes begun and not yet returned.
  int flushesUnderway() const;

  // Runs in each flush, on the flushing thread, before the system's flush: a test holds it
  // there as a slow disk would. Set it before the calls begin.
  std::function<void(const std::string& name)> beforeFlush;

  // What the patched functions do.
  BOOL write(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
  BOOL flush(HANDLE file);
  BOOL rename(LPCWSTR from, LPCWSTR to, DWORD flags);

 private:
  void add(std::string call, int flushes = 0);

  // The trace the patched functions record into, set before they are patched.
  struct Active {
    explicit Active(FileCallTrace* trace);
    ~Active();
  } active_;
  ImportPatch write_, flush_, rename_;
  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
  int flushesUnderway_ = 0;
};

}  // namespace vcit::platform
