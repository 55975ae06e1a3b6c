// The About window of the real program under Wine: opened from the launcher, its texts and
// geometry, closing and reopening, the start of the system-information tool, and its colours
// in a white-on-black scheme.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "about/about_ids.h"
#include "about/about_layout.h"
#include "launcher/control_ids.h"
#include "support/e2e_driver.h"

namespace vcit::e2e {
namespace {

namespace ids = about::ids;
constexpr const char* kAboutCaption = "About RUZiza";
constexpr const char* kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

class AboutWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    makeDpiAware();
    // Neither registry value unless a test sets one (both put back afterwards).
    toolPath.remove();
    toolFolder.remove();
  }
  void start() {
    process = std::make_unique<Process>(program.exe(),
                                        std::vector<std::string>{"VCIT_STANDIN_MARKER=" + marker});
    launcher = process->waitForWindow("VC:IT Mod Launcher");
    ASSERT_NE(launcher, nullptr);
  }
  // Clicks About... and waits for the About window.
  HWND open() {
    click(GetDlgItem(launcher, launcher::ids::kAbout));
    HWND about = nullptr;
    waitUntil([&] { return (about = findWindow(process->id(), kAboutCaption)) != nullptr; });
    if (about) settle(about);
    return about;
  }
  int aboutWindows() const {
    int count = 0;
    for (HWND hwnd : topLevelWindows(process->id()))
      if (windowText(hwnd) == kAboutCaption) ++count;
    return count;
  }
  bool closed(HWND about) {
    return waitUntil([&] { return !IsWindow(about) || !IsWindowVisible(about); });
  }
  void expectTexts(HWND about) {
    EXPECT_EQ(windowText(about), kAboutCaption);
    EXPECT_EQ(windowText(GetDlgItem(about, ids::kVersion)), "Version 1.0.0");
    EXPECT_EQ(windowText(GetDlgItem(about, ids::kTitle)), "Valor Crest Mod Launcher");
    EXPECT_EQ(windowText(GetDlgItem(about, ids::kDescription)),
              "This program applies mods to VC:IT by copying the pk3 files into the main "
              "directory as specified by the user.  To use place pk3 files in this program's "
              "data directory.");
    EXPECT_EQ(windowText(GetDlgItem(about, ids::kOK)), "OK");
    EXPECT_EQ(windowText(GetDlgItem(about, ids::kSysInfo)), "&System Info...");
  }
  // A copy of the stand-in tool in a folder of its own, as MSINFO32.EXE.
  std::string installTool() {
    const std::string folder = toolDir.path();
    copyFile(windowsPath(VCIT_STANDIN_SYSINFO), folder + "\\MSINFO32.EXE");
    return folder;
  }

  ProgramFolder program{launcherExe(), "about"};
  GameFolder game{"about-game"};
  GameFolder toolDir{"about-tool"};
  BasePath basePath{game.path()};
  RegistryValue toolPath{HKEY_LOCAL_MACHINE, kToolKey, "PATH"};
  RegistryValue toolFolder{HKEY_LOCAL_MACHINE, kFolderKey, "MSINFO"};
  std::string marker = game.path() + "\\tool-started.txt";
  std::unique_ptr<Process> process;
  HWND launcher = nullptr;
};

TEST_F(AboutWindow, ShowsTitleVersionProductAndDescriptionAtItsPlaceAndSize) {
  start();
  const HWND about = open();
  ASSERT_NE(about, nullptr);
  expectTexts(about);
  EXPECT_NE(windowText(GetDlgItem(about, ids::kDisclaimer)).find('@'), std::string::npos);

  const LONG style = GetWindowLongW(about, GWL_STYLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << "a fixed dialog frame";
  EXPECT_EQ(GetWindow(about, GW_OWNER), nullptr) << "modeless without an owner";

  const RECT client = clientOnScreen(about);
  EXPECT_EQ(client.left, 156) << "2340 twips";
  EXPECT_EQ(client.top, 129) << "1935 twips";
  EXPECT_EQ(client.right - client.left, 382) << "5730 twips";
  EXPECT_EQ(client.bottom - client.top, 237) << "3555 twips";
  for (const auto& c : about::layout().controls) {
    const HWND control = GetDlgItem(about, c.id);
    ASSERT_NE(control, nullptr) << c.name;
    const RECT r = rectInParent(control);
    EXPECT_EQ(pixelsToTwips(r.left, 96), c.rect.left) << c.name;
    EXPECT_EQ(pixelsToTwips(r.top, 96), c.rect.top) << c.name;
    EXPECT_EQ(pixelsToTwips(r.right - r.left, 96), c.rect.width) << c.name;
    EXPECT_EQ(pixelsToTwips(r.bottom - r.top, 96), c.rect.height) << c.name;
  }
  // The etched separator: grey at 2445 twips (pixel row 163), white below it for two rows.
  EXPECT_EQ(pixelAt(about, 200, 162), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(pixelAt(about, 200, 163), RGB(128, 128, 128));
  EXPECT_EQ(pixelAt(about, 200, 164), RGB(255, 255, 255));
  EXPECT_EQ(pixelAt(about, 200, 165), RGB(255, 255, 255));
  EXPECT_EQ(pixelAt(about, 200, 166), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(pixelAt(about, 6, 163), RGB(128, 128, 128)) << "from 90 twips";
  EXPECT_EQ(pixelAt(about, 5, 163), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(focusOf(about), GetDlgItem(about, ids::kOK)) << "OK has the focus";
  EXPECT_TRUE(saveScreenshot(about, artifactFolder() + "\\about.png"));
}

TEST_F(AboutWindow, OneWindowThatEscClosesAndTheNextOpeningLoadsAgain) {
  start();
  const HWND about = open();
  ASSERT_NE(about, nullptr);

  // A second click while it is open brings the same window forward.
  EXPECT_EQ(open(), about);
  EXPECT_EQ(aboutWindows(), 1);

  // The launcher stays usable beside it.
  const HWND mark = GetDlgItem(
      GetDlgItem(GetDlgItem(launcher, launcher::ids::kListPanel), launcher::ids::kMarkPanelBase),
      launcher::ids::kMarkBase);
  click(mark);
  EXPECT_EQ(SendMessageW(mark, BM_GETCHECK, 0, 0), BST_CHECKED);

  activate(about);
  pressKey(VK_ESCAPE);
  EXPECT_TRUE(closed(about));
  EXPECT_TRUE(process->running());

  const HWND again = open();
  ASSERT_NE(again, nullptr);
  expectTexts(again);
  pressKey(VK_RETURN);  // OK is also the default button
  EXPECT_TRUE(closed(again));

  const HWND third = open();
  ASSERT_NE(third, nullptr);
  PostMessageW(third, WM_CLOSE, 0, 0);  // the frame's close button
  EXPECT_TRUE(closed(third));
  ASSERT_NE(open(), nullptr);
  EXPECT_EQ(aboutWindows(), 1);
}

TEST_F(AboutWindow, SystemInfoStartsTheToolTheRegistryNames) {
  const std::string folder = installTool();
  toolPath.setString(folder + "\\MSINFO32.EXE");
  start();
  const HWND about = open();
  ASSERT_NE(about, nullptr);
  click(GetDlgItem(about, ids::kSysInfo));
  EXPECT_NE(waitForRenamedFile(marker).find("MSINFO32.EXE"), std::string::npos)
      << "the tool did not start";
  EXPECT_FALSE(waitForMessageBox(process->id(), 500)) << "no message on success";
}

TEST_F(AboutWindow, AltSStartsTheToolFoundThroughItsFolder) {
  toolFolder.setString(installTool());
  start();
  const HWND about = open();
  ASSERT_NE(about, nullptr);
  activate(about);
  pressKey('S', false, false, /*alt=*/true);
  EXPECT_FALSE(waitForRenamedFile(marker).empty()) << "the tool did not start";
}

TEST_F(AboutWindow, WithoutTheToolSystemInfoSaysItIsUnavailable) {
  toolFolder.setString(toolDir.path());  // a folder without MSINFO32.EXE
  start();
  const HWND about = open();
  ASSERT_NE(about, nullptr);
  click(GetDlgItem(about, ids::kSysInfo));
  const auto box = waitForMessageBox(process->id());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, "RUZiza");
  EXPECT_EQ(box->text, "System Information Is Unavailable At This Time");
  EXPECT_NE(GetDlgItem(box->hwnd, IDOK), nullptr);
  EXPECT_EQ(GetDlgItem(box->hwnd, IDCANCEL), nullptr) << "OK only";
  answer(*box, IDOK);
  EXPECT_TRUE(IsWindowVisible(about)) << "the About window stays open";
  EXPECT_FALSE(fileExists(marker));
}

// Run in a prefix whose colours are white on black from its server's start (tools/wine-prefix
// --scheme white-on-black). Wine reports no high contrast there, so what keeps the texts
// readable is their contrast with the face they lie on.
class AboutWindowInWhiteOnBlack : public AboutWindow {};

TEST_F(AboutWindowInWhiteOnBlack, EveryLabelShowsItsTextAndTheSeparatorTakesTheSchemesShades) {
  ASSERT_EQ(GetSysColor(COLOR_BTNFACE), RGB(0, 0, 0)) << "not the white-on-black prefix";
  start();
  settle(launcher);
  EXPECT_TRUE(saveScreenshot(launcher, artifactFolder() + "\\launcher-white-on-black.png"));
  const HWND about = open();
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(saveScreenshot(about, artifactFolder() + "\\about-white-on-black.png"));
  int labels = 0;
  for (const auto& c : about::layout().controls) {
    const HWND control = GetDlgItem(about, c.id);
    if (c.kind != ui::ControlKind::Label || windowText(control).empty()) continue;
    ++labels;
    EXPECT_GE(inkPixels(control, RGB(0, 0, 0)), 20) << c.name << " shows no text";
  }
  EXPECT_EQ(labels, 4);
  EXPECT_EQ(pixelAt(about, 200, 163), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(pixelAt(about, 200, 164), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(pixelAt(about, 200, 166), RGB(0, 0, 0));
}

}  // namespace
}  // namespace vcit::e2e
