// Apply in the real launcher under Wine with the game's main folder on a small disk (a tmpfs
// of 7 MB, mounted through Wine's start of Unix programs; needs root): what fits when each row
// is done in turn fits for Apply too.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "e2e/launcher_session.h"

namespace vcit::e2e {
namespace {

// The Unix path of a Windows one, through Wine's own kernel32 export.
std::string unixPath(const std::string& path) {
  using Convert = char*(__cdecl*)(const wchar_t*);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  char* unix = convert(wide(path).c_str());
  if (!unix) return {};
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

// Starts a shell command on the Unix side. Wine gives no exit code of a Unix program to wait
// for, so the caller watches for its effect.
void unixShell(const std::string& command) {
  std::wstring line = L"Z:\\bin\\sh -c \"" + wide(command) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

class ApplyOnASmallDisk : public LauncherSession {
 protected:
  void TearDown() override {
    if (process) process->terminate();
    if (mounted_.empty()) return;
    unixShell("/bin/umount '" + mounted_ + "'");
    EXPECT_TRUE(waitUntil([&] { return fileExists(marker()); }, 10000)) << "still mounted";
  }
  // A file in main that the mount hides.
  std::string marker() const { return game.mainDir() + "\\under-the-mount"; }
  // Empty when mounted, else why not.
  std::string mountSmallDisk() {
    const std::string main = unixPath(game.mainDir());
    if (main.empty()) return "no Unix path for " + game.mainDir();
    writeFile(marker(), "hidden while mounted");
    unixShell("/bin/mount -t tmpfs -o size=7m tmpfs '" + main + "'");
    if (!waitUntil([&] { return !fileExists(marker()); }, 10000))
      return "mounting a tmpfs on " + main + " was refused (not root?)";
    mounted_ = main;
    return {};
  }
  std::string mounted_;
};

TEST_F(ApplyOnASmallDisk, DeletesBeforeItCopiesWhereThatIsWhatFits) {
  if (const std::string refused = mountSmallDisk(); !refused.empty()) GTEST_SKIP() << refused;
  program.addPackage("a_old.pk3", std::string(4 << 20, 'a'));
  program.addPackage("b_new.pk3", std::string(4 << 20, 'b'));
  program.writeStateFile({{"a_old.pk3", 1}, {"b_new.pk3", 0}});
  game.addToMain("a_old.pk3", std::string(4 << 20, 'a'));
  ASSERT_TRUE(start());
  press(mark(0));  // a_old off
  press(mark(1));  // b_new on
  pressApply();
  EXPECT_TRUE(noMessageBox(2000));
  EXPECT_FALSE(applyEnabled());
  EXPECT_FALSE(game.hasPackage("a_old.pk3"));
  EXPECT_TRUE(readFile(game.mainDir() + "\\b_new.pk3") == std::string(4 << 20, 'b'));
  EXPECT_THAT(strayFilesInMain(), ::testing::IsEmpty());
}

}  // namespace
}  // namespace vcit::e2e
