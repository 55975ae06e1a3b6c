// Win32System against Windows' own kernel services, and RegOp on Windows' own registry under
// the root that only the real registry tells apart.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "core/text.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_registry.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "registry/reg_op.h"

namespace vcit::platform {
namespace {

using vcit::DynamicValue;
using vcit::RegOp;

TEST(Win32SystemTest, VersionLibrariesAndProgramFolder) {
  Win32System system;
  EXPECT_EQ(system.platformId(), 2u);
  EXPECT_TRUE(system.libraryLoads("Shlwapi"));
  EXPECT_FALSE(system.libraryLoads("vcit_no_such_library"));
  const std::string folder = system.programDirectory();
  ASSERT_GT(folder.size(), 6u);
  EXPECT_TRUE(text::equalsIgnoreCase(folder.substr(folder.size() - 6), "\\tests")) << folder;
}

TEST(Win32SystemTest, EnvironmentEntriesAreNumberedAsTheBlockHoldsThem) {
  // A drive's current folder, as a command shell keeps it: an entry that names no variable.
  ASSERT_TRUE(SetEnvironmentVariableW(L"=Q:", L"Q:\\vcit"));
  std::vector<std::string> block;
  {
    wchar_t* strings = GetEnvironmentStringsW();
    ASSERT_NE(strings, nullptr);
    for (const wchar_t* e = strings; *e != L'\0'; e += std::wcslen(e) + 1)
      block.push_back(win32::narrow(e, std::wcslen(e)));
    FreeEnvironmentStringsW(strings);
  }
  Win32System system;
  std::vector<std::string> entries;
  std::string temp;
  for (int n = 1; n < 1000; ++n) {
    const std::string entry = system.environmentEntry(n);
    if (entry.empty()) break;
    entries.push_back(entry);
    if (text::equalsIgnoreCase(entry.substr(0, 5), "TEMP=")) temp = entry.substr(5);
  }
  EXPECT_EQ(entries, block);
  EXPECT_NE(std::find(entries.begin(), entries.end(), "=Q:=Q:\\vcit"), entries.end());
  SetEnvironmentVariableW(L"=Q:", nullptr);
  ASSERT_FALSE(temp.empty());
  const auto fits = system.expandEnvironmentStrings("%TEMP%|%vcit_unknown%", 1024);
  EXPECT_EQ(fits.text, temp + "|%vcit_unknown%");
  EXPECT_EQ(fits.count, fits.text.size() + 1);  // the NUL included
  const auto tooSmall = system.expandEnvironmentStrings("%TEMP%", 3);
  EXPECT_GE(tooSmall.count, temp.size() + 1);
  EXPECT_EQ(tooSmall.text, "");
}

// RegOp with the system's own environment: entries that name no variable count toward the
// hundred entries searched for a %NAME% reference and never match one.
TEST(Win32SystemTest, EntriesNamingNoVariableCountButNeverMatch) {
  FakeRegistry registry;
  CallLog log;
  FakeMessageBoxes messages{log};
  Win32System system;
  const auto typeWritten = [&](const std::string& name, const std::string& text) {
    RegOp op(registry, system, messages);
    op.Key("Software\\VCITTests\\Environment");
    op.Value(name, DynamicValue(text));
    return registry.value(reg::kCurrentUser, "Software\\VCITTests\\Environment", name)->type;
  };
  ASSERT_TRUE(SetEnvironmentVariableW(L"=Q:", L"Q:\\vcit"));
  EXPECT_EQ(typeWritten("drive", "100%%"), reg::kTypeSz);
  EXPECT_EQ(typeWritten("temp", "%TEMP%"), reg::kTypeExpandSz);

  // A hundred such entries before TEMP leave it out of reach. TEMP is set again after them,
  // so that it follows them whether the block keeps its entries sorted (Windows) or in the
  // order they were set (Wine).
  wchar_t temp[1024] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"TEMP", temp, 1024), 0u);
  SetEnvironmentVariableW(L"TEMP", nullptr);
  for (int i = 0; i < 100; ++i)
    SetEnvironmentVariableW((L"=V" + std::to_wstring(100 + i)).c_str(), L"x");
  SetEnvironmentVariableW(L"TEMP", temp);
  int tempAt = 0;
  for (int n = 1; tempAt == 0 && !system.environmentEntry(n).empty(); ++n)
    if (system.environmentEntry(n).rfind("TEMP=", 0) == 0) tempAt = n;
  const std::uint32_t late = typeWritten("late", "%TEMP%");
  for (int i = 0; i < 100; ++i)
    SetEnvironmentVariableW((L"=V" + std::to_wstring(100 + i)).c_str(), nullptr);
  SetEnvironmentVariableW(L"=Q:", nullptr);
  ASSERT_GT(tempAt, 100);
  EXPECT_EQ(late, reg::kTypeSz);
}

TEST(Win32SystemTest, RegOpReadsAndWritesUnderTheClassesRoot) {
  // Wine would take the roots without their sign extension: Windows' own handles are checked.
  for (const auto& [root, handle] : {std::pair{reg::kClassesRoot, HKEY_CLASSES_ROOT},
                                     std::pair{reg::kCurrentUser, HKEY_CURRENT_USER},
                                     std::pair{reg::kLocalMachine, HKEY_LOCAL_MACHINE}})
    EXPECT_EQ(toHkey(root), handle) << std::hex << root;
  Win32Registry registry;
  Win32System system;
  CallLog log;
  FakeMessageBoxes messages{log};
  {
    RegOp op(registry, system, messages);
    op.Options(RegOp::ShowErrors);
    op.Root(reg::kClassesRoot);
    op.Key(".vcittest");
    op.Value("", DynamicValue("VCIT test"));
    op.Key(".txt");  // a key Wine's own registry holds
    EXPECT_FALSE(op.Value("").isEmpty());
  }
  wchar_t data[64] = {};
  LONG size = sizeof data;
  EXPECT_EQ(RegQueryValueW(HKEY_CLASSES_ROOT, L".vcittest", data, &size), ERROR_SUCCESS);
  EXPECT_STREQ(data, L"VCIT test");
  RegDeleteKeyW(HKEY_CLASSES_ROOT, L".vcittest");
  EXPECT_TRUE(messages.shown().empty());
}

}  // namespace
}  // namespace vcit::platform
