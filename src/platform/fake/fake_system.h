#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/system.h"

namespace vcit::platform {

// What FakeSystem::endProgram throws so that a test sees the program end. Deliberately not a
// std::exception, so that no handler of the program's own catches it.
struct ProgramEnded {};

// Kernel services from settable fields.
class FakeSystem : public System {
 public:
  std::uint32_t platformId() override { return platform; }
  // Replaces each %NAME% whose NAME is an entry of `environment` (ignoring letter case);
  // other text, unknown references and a lone '%' stay as they are. The count includes the
  // terminating NUL and counts one byte per character; when it exceeds the capacity the text
  // is not given and the count is the size needed.
  Expanded expandEnvironmentStrings(const std::string& text, std::uint32_t capacity) override;
  std::string environmentEntry(int n) override;
  // By text::compareIgnoreCase, whose table agrees with CompareStringOrdinal.
  int compareIgnoringCase(const std::string& a, const std::string& b) override;
  // By text::foldCase, from the same table.
  std::string foldCase(const std::string& name) override;
  bool libraryLoads(const std::string& name) override;
  std::string programDirectory() override { return directory; }
  // Returns at once, counting the time and calling whilePausing.
  void pause(std::uint32_t milliseconds) override {
    paused += milliseconds;
    if (whilePausing) whilePausing();
  }
  [[noreturn]] void endProgram() override;

  std::uint32_t platform = 2;  // VER_PLATFORM_WIN32_NT
  std::vector<std::string> environment = {
      "ALLUSERSPROFILE=C:\\ProgramData", "SystemRoot=C:\\windows", "TEMP=C:\\users\\player\\Temp",
      "TMP=C:\\users\\player\\Temp",     "USERNAME=player",
  };
  bool librariesLoad = true;
  std::vector<std::string> librariesAsked;  // the names given to libraryLoads, in order
  std::string directory = "C:\\VCIT";
  int expandCalls = 0;
  std::uint64_t paused = 0;  // milliseconds, summed over the pauses
  std::function<void()> whilePausing;
};

}  // namespace vcit::platform
