#pragma once

#include <cstdint>
#include <string>

namespace vcit::platform {

// Kernel services.
class System {
 public:
  virtual ~System() = default;
  // GetVersionExA's platform identifier (2 on the NT family, 0 when the call fails).
  virtual std::uint32_t platformId() = 0;
  struct Expanded {
    std::uint32_t count = 0;  // what ExpandEnvironmentStringsA returned (NUL included)
    std::string text;         // the expansion, when it fitted the buffer
  };
  // ExpandEnvironmentStringsA with a buffer of capacity bytes.
  virtual Expanded expandEnvironmentStrings(const std::string& text, std::uint32_t capacity) = 0;
  // The n-th entry (from 1) of the process environment, "NAME=value"; empty past the end.
  // Entries that name no variable ("=C:=C:\...", the current folders of drives) are numbered
  // like the others.
  virtual std::string environmentEntry(int n) = 0;
  // Compares two names without regard to letter case, as the system matches names
  // (CompareStringOrdinal with ignore-case): below zero, zero or above zero as a sorts
  // before, with or after b. A strict weak order, so that names can be kept sorted by it.
  virtual int compareIgnoringCase(const std::string& a, const std::string& b) = 0;
  // The name with letter case taken out: two names give the same text exactly when
  // compareIgnoringCase finds them equal. Made once per name, it lets many names be matched
  // by plain equality (a hash) instead of a call to the system for each comparison.
  virtual std::string foldCase(const std::string& name) = 0;
  // LoadLibraryA followed by FreeLibrary: whether the library loads.
  virtual bool libraryLoads(const std::string& name) = 0;
  // The folder of the running executable, without a final backslash.
  virtual std::string programDirectory() = 0;
  // Waits this long, doing nothing.
  virtual void pause(std::uint32_t milliseconds) = 0;
  // Ends the program at once.
  [[noreturn]] virtual void endProgram() = 0;
};

}  // namespace vcit::platform
