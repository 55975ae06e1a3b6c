// Launch and Exit in the real launcher under Wine: the game (a stand-in vcit.exe that writes a
// marker file) started through the clipboard and the Run dialog, the offer to apply first,
// and the end of the program with the About window open.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "e2e/launcher_session.h"
#include "platform/win32/win32_clipboard.h"

namespace vcit::e2e {
namespace {

constexpr const char* kQuestion = "You have not applied your changes, apply now?";

class LaunchInTheWindow : public LauncherSession {
 protected:
  explicit LaunchInTheWindow(const std::string& gameLabel = "launch-game")
      : LauncherSession(gameLabel) {
    game.installGame(windowsPath(VCIT_STANDIN_GAME));
  }
  HWND startWithMarker() { return start({"VCIT_STANDIN_MARKER=" + marker}); }
  std::string gameExe() const { return game.path() + "\\vcit.exe"; }
  // What the stand-in saw when it started: its path and the packages in main, one a line.
  std::string gameReport(int timeoutMs = 15000) {
    if (!waitUntil([&] { return fileExists(marker); }, timeoutMs)) return {};
    waitUntil([&] { return !readFile(marker).empty(); }, 2000);
    return readFile(marker);
  }
  std::string clipboardText() { return platform::Win32Clipboard().text(); }

  std::string marker = newTempFolder("marker") + "\\started.txt";
};

TEST_F(LaunchInTheWindow, WithNothingPendingTheGameStartsAndItsPathStaysOnTheClipboard) {
  program.addPackage("a.pk3");
  ASSERT_TRUE(startWithMarker());
  pressLaunch();
  EXPECT_EQ(gameReport(), "started " + gameExe() + "\r\n");
  EXPECT_EQ(clipboardText(), gameExe());
  EXPECT_TRUE(process->running()) << "the launcher stays open";
  EXPECT_TRUE(noMessageBox());
}

TEST_F(LaunchInTheWindow, AnsweringYesAppliesThenStartsTheGameWithThePackages) {
  program.addPackage("a.pk3", "a data");
  program.addPackage("b.pk3", "b data");
  ASSERT_TRUE(startWithMarker());
  press(mark(1));
  pressLaunch();
  const MessageBoxSeen box = messageBox();
  EXPECT_EQ(box.text, kQuestion);
  EXPECT_EQ(box.title, "RUZiza");
  answer(box, IDYES);
  EXPECT_EQ(gameReport(), "started " + gameExe() + "\r\nb.pk3\r\n");
  EXPECT_FALSE(applyEnabled());
  EXPECT_EQ(program.readStateFile(), stateRecord("a.pk3", 0) + stateRecord("b.pk3", 1));
}

TEST_F(LaunchInTheWindow, AnsweringNoStartsNothing) {
  program.addPackage("a.pk3");
  ASSERT_TRUE(startWithMarker());
  press(mark(0));
  pressLaunch();
  answer(messageBox(), IDNO);
  EXPECT_TRUE(noMessageBox(1000));
  EXPECT_FALSE(fileExists(marker));
  EXPECT_TRUE(applyEnabled());
  EXPECT_FALSE(game.hasPackage("a.pk3"));
}

class LaunchFromAFolderWithSpaces : public LaunchInTheWindow {
 protected:
  LaunchFromAFolderWithSpaces() : LaunchInTheWindow("Valor Crest Iron Tide") {}
};

TEST_F(LaunchFromAFolderWithSpaces, TheUnquotedPathStartsTheGame) {
  ASSERT_NE(game.path().find(' '), std::string::npos);
  ASSERT_TRUE(startWithMarker());
  pressLaunch();
  EXPECT_EQ(gameReport(), "started " + gameExe() + "\r\n");
  EXPECT_EQ(clipboardText(), gameExe()) << "no quotes added";
}

TEST_F(LauncherSession, ExitWithTheAboutWindowOpenEndsTheProgram) {
  ASSERT_TRUE(start());
  press(control(launcher::ids::kAbout));
  ASSERT_TRUE(waitUntil([&] { return topLevelWindows(process->id()).size() >= 2; }))
      << "the About window did not open";
  // The About window opens over the Exit button: drag it aside, as a user would.
  for (HWND w : topLevelWindows(process->id()))
    if (w != window) SetWindowPos(w, nullptr, 600, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  settle(window);
  press(control(launcher::ids::kExit));
  EXPECT_TRUE(process->waitForExit(10000).has_value()) << "the program did not end";
}

}  // namespace
}  // namespace vcit::e2e
