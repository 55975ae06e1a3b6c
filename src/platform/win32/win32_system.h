#pragma once

#include "platform/system.h"

namespace vcit::platform {

// Kernel services of Windows, text converted between UTF-8 and the system code page.
class Win32System : public System {
 public:
  std::uint32_t platformId() override;
  Expanded expandEnvironmentStrings(const std::string& text, std::uint32_t capacity) override;
  // Every entry of the block is counted, also those Windows keeps for its own use whose text
  // starts with "=" (the current folders of drives, "=C:=C:\..."), as the fake counts them.
  std::string environmentEntry(int n) override;
  // CompareStringOrdinal with ignore-case, on the names in UTF-16.
  int compareIgnoringCase(const std::string& a, const std::string& b) override;
  // Each UTF-16 unit through the system's uppercase table (RtlUpcaseUnicodeChar), the table
  // CompareStringOrdinal uses when it ignores case; letters of ASCII without a call.
  std::string foldCase(const std::string& name) override;
  bool libraryLoads(const std::string& name) override;
  std::string programDirectory() override;
  void pause(std::uint32_t milliseconds) override;
  [[noreturn]] void endProgram() override;
};

}  // namespace vcit::platform
