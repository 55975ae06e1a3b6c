// Apply on Windows' (Wine's) own file system, seen by the calls the system gets: each file it
// puts in place is written beside it, flushed, and only then renamed over it; and while the
// disk takes a package's data, the launcher's thread answers its windows.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "launcher/launcher.h"
#include "platform/fake/fake_platform.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_progress.h"
#include "support/e2e_driver.h"
#include "win32/file_call_trace.h"

namespace vcit {
namespace {

using platform::win32::UniqueHandle;
using ::testing::ElementsAre;

const std::string kPartial = platform::FileSystem::kPartialSuffix;

// The launcher with the real file system and progress, its folders in a temporary one: the
// packages in Mods, the game's main folder in main.
class ApplyOnDisk : public ::testing::Test {
 protected:
  ApplyOnDisk() : dir_(e2e::newTempFolder("apply-disk")) {
    for (const char* folder : {"\\Mods", "\\main"})
      CreateDirectoryW(e2e::wide(dir_ + folder).c_str(), nullptr);
  }
  ~ApplyOnDisk() override { e2e::removeTree(dir_); }

  std::string mods(const std::string& name) const { return dir_ + "\\Mods\\" + name; }
  std::string main(const std::string& name) const { return dir_ + "\\main\\" + name; }

  // Rows as start-up leaves them, with a mark changed since.
  frmLauncher& rows(const std::vector<std::pair<std::string, int>>& marks) {
    launcher_ = std::make_unique<frmLauncher>(platform_);
    launcher_->ModsDir = dir_ + "\\Mods\\";
    launcher_->StateFilePath = dir_ + "\\Active.dat";
    launcher_->GamePath = dir_;
    for (const auto& [name, mark] : marks) {
      launcher_->txtPk3(launcher_->ModCount).setText(name);
      launcher_->chkActive(launcher_->ModCount).setValue(mark);
      ++launcher_->ModCount;
    }
    launcher_->chkActive_Click(0);
    return *launcher_;
  }

  std::string dir_;
  platform::FakePlatform fake;
  platform::Win32FileSystem files;
  platform::Win32Progress progress;
  platform::Platform platform_{fake.registry, files,         fake.messages, fake.clipboard,
                               fake.shell,    fake.keyboard, fake.events,   fake.programs,
                               fake.system,   progress};
  std::unique_ptr<frmLauncher> launcher_;
};

TEST_F(ApplyOnDisk, WritesEachFileBesideItsPlaceFlushesItAndOnlyThenRenamesIt) {
  e2e::writeFile(mods("new.pk3"), std::string(200000, 'n'));
  e2e::writeFile(mods("upd.pk3"), "new version");
  e2e::writeFile(main("upd.pk3"), "old version");
  e2e::writeFile(main("off.pk3"), "unmarked");
  e2e::writeFile(dir_ + "\\Active.dat", "old records");
  frmLauncher& l = rows({{"new.pk3", 1}, {"off.pk3", 0}, {"upd.pk3", 1}});
  platform::FileCallTrace trace;
  l.Apply();
  ASSERT_TRUE(l.Applied) << ::testing::PrintToString(fake.messages.texts());

  for (const std::string name : {"Active.dat", "new.pk3", "upd.pk3"}) {
    SCOPED_TRACE(name);
    EXPECT_THAT(trace.callsOn(name + kPartial),
                ElementsAre("write " + name + kPartial, "flush " + name + kPartial,
                            "rename " + name + kPartial + " -> " + name));
    EXPECT_THAT(trace.callsOn(name), ElementsAre()) << "changed in place";
  }
  const std::vector<std::string> calls = trace.calls();
  const auto when = [&](const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) - calls.begin();
  };
  EXPECT_LT(when("rename Active.dat" + kPartial + " -> Active.dat"),
            when("rename new.pk3" + kPartial + " -> new.pk3"))
      << "the marks are in place before the first package";
  EXPECT_EQ(e2e::readFile(main("new.pk3")), std::string(200000, 'n'));
  EXPECT_EQ(e2e::readFile(main("upd.pk3")), "new version");
  EXPECT_FALSE(files.fileExists(main("off.pk3")));
}

// A slow disk (a USB stick) takes seconds over a package: meanwhile another program (a
// screen reader) asks the launcher's window for its text, and is answered.
TEST_F(ApplyOnDisk, TheWindowAnswersWhileTheDiskTakesAPackage) {
  e2e::writeFile(mods("big.pk3"), std::string(300000, 'b'));
  frmLauncher& l = rows({{"big.pk3", 1}});
  const HWND window = CreateWindowExW(0, L"STATIC", L"launcher", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                      100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const UniqueHandle held(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const UniqueHandle released(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  platform::FileCallTrace trace;
  trace.beforeFlush = [&](const std::string& name) {
    if (name != "big.pk3" + kPartial) return;
    SetEvent(held.get());
    WaitForSingleObject(released.get(), 10000);
  };
  bool flushHeld = false;
  DWORD_PTR textLength = 0;
  std::thread reader([&] {
    flushHeld = WaitForSingleObject(held.get(), 10000) == WAIT_OBJECT_0;
    if (flushHeld)
      SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 3000, &textLength);
    SetEvent(released.get());
  });
  l.Apply();
  reader.join();
  DestroyWindow(window);
  ASSERT_TRUE(flushHeld);
  EXPECT_EQ(textLength, 8u) << "no answer while the disk flushed";
  EXPECT_TRUE(l.Applied);
  EXPECT_EQ(e2e::readFile(main("big.pk3")), std::string(300000, 'b'));
}

}  // namespace
}  // namespace vcit
