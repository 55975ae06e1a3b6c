// Win32System against Windows' own kernel services.
#include <gtest/gtest.h>

#include "core/text.h"
#include "platform/win32/win32_system.h"

namespace vcit::platform {
namespace {

TEST(Win32SystemTest, VersionLibrariesAndProgramFolder) {
  Win32System system;
  EXPECT_EQ(system.platformId(), 2u);
  EXPECT_TRUE(system.libraryLoads("Shlwapi"));
  EXPECT_FALSE(system.libraryLoads("vcit_no_such_library"));
  const std::string folder = system.programDirectory();
  ASSERT_GT(folder.size(), 6u);
  EXPECT_TRUE(text::equalsIgnoreCase(folder.substr(folder.size() - 6), "\\tests")) << folder;
}

TEST(Win32SystemTest, EnvironmentEntriesAreVariables) {
  Win32System system;
  int n = 1;
  std::string temp;
  for (; n < 1000; ++n) {
    const std::string entry = system.environmentEntry(n);
    if (entry.empty()) break;
    EXPECT_GT(entry.find('='), 0u) << entry;  // names no variable when it starts with '='
    if (text::equalsIgnoreCase(entry.substr(0, 5), "TEMP=")) temp = entry.substr(5);
  }
  EXPECT_GT(n, 1);
  ASSERT_FALSE(temp.empty());
  const auto fits = system.expandEnvironmentStrings("%TEMP%|%vcit_unknown%", 1024);
  EXPECT_EQ(fits.text, temp + "|%vcit_unknown%");
  EXPECT_EQ(fits.count, fits.text.size() + 1);  // the NUL included
  const auto tooSmall = system.expandEnvironmentStrings("%TEMP%", 3);
  EXPECT_GE(tooSmall.count, temp.size() + 1);
  EXPECT_EQ(tooSmall.text, "");
}

}  // namespace
}  // namespace vcit::platform
