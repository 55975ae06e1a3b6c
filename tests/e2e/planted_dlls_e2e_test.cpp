// The real launcher beside planted copies of the DLLs that Windows' and Wine's own DLLs load by
// name while it runs, each with a native-first override (Wine takes its own copy otherwise; the
// override is the registry's, as WINEDLLOVERRIDES in a started program's environment is not):
// none of them may run, through start-up, About, System Info, Apply and Launch. version.dll is
// left out: Wine 8's user32 imports it, so a planted one runs before any program's first
// instruction.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "about/about_ids.h"
#include "e2e/launcher_session.h"

namespace vcit::e2e {
namespace {

constexpr const char* kPlanted[] = {"comctl32", "uxtheme", "dwmapi", "msimg32", "oleacc"};

class PlantedDlls : public LauncherSession {
 protected:
  PlantedDlls() : LauncherSession("planted-game") {
    game.installGame(windowsPath(VCIT_STANDIN_GAME));
    copyFile(windowsPath(VCIT_STANDIN_SYSINFO), tool + "\\MSINFO32.EXE");
    toolPath.setString(tool + "\\MSINFO32.EXE");
    for (const char* name : kPlanted) {
      copyFile(windowsPath(VCIT_PLANTED_DLL), program.path() + "\\" + name + ".dll");
      overrides.push_back(std::make_unique<RegistryValue>(
          HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\VCITLauncher.exe\\DllOverrides", name));
      overrides.back()->setString("native,builtin");
    }
  }
  // The planted DLLs that ran (each leaves a file "<name>.dll.ran" beside itself).
  std::vector<std::string> ran() const { return listFolder(program.path(), "*.ran"); }
  // What the started program wrote to the marker file, which is then removed for the next.
  std::string started() {
    const std::string report = waitForRenamedFile(marker);
    DeleteFileA(marker.c_str());
    return report;
  }

  std::vector<std::unique_ptr<RegistryValue>> overrides;
  std::string tool = newTempFolder("planted-tool");
  std::string marker = newTempFolder("planted-marker") + "\\started.txt";
  RegistryValue toolPath{HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH"};
};

TEST_F(PlantedDlls, NoneRunsThroughStartUpAboutSystemInfoApplyAndLaunch) {
  program.addPackage("a.pk3", "a data");
  ASSERT_TRUE(start({"VCIT_STANDIN_MARKER=" + marker}));
  EXPECT_EQ(ran(), std::vector<std::string>{}) << "at start-up";

  press(control(launcher::ids::kAbout));
  HWND about = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (about = findWindow(process->id(), "About RUZiza")); }));
  settle(about);
  click(GetDlgItem(about, about::ids::kSysInfo));
  EXPECT_NE(started().find("MSINFO32.EXE"), std::string::npos) << "the tool did not start";
  PostMessageW(about, WM_CLOSE, 0, 0);
  EXPECT_EQ(ran(), std::vector<std::string>{}) << "in About and System Info";

  press(mark(0));
  pressApply();
  EXPECT_TRUE(waitUntil([&] { return game.hasPackage("a.pk3"); }));
  pressLaunch();
  EXPECT_NE(started().find("vcit.exe"), std::string::npos) << "the game did not start";
  EXPECT_TRUE(noMessageBox());
  EXPECT_EQ(ran(), std::vector<std::string>{}) << "in Apply and Launch";
}

}  // namespace
}  // namespace vcit::e2e
