// Launch and Exit in the real launcher under Wine: the game (a stand-in vcit.exe that writes a
// marker file) started through the clipboard and the Run dialog, the offer to apply first,
// and the end of the program with the About window open.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "e2e/launcher_session.h"
#include "platform/win32/text_conversion.h"
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

// The X display's keyboard layout (Wine takes its keys from it), set by setxkbmap for the
// life of the object, then back to "us". Wine starts a Unix program from CreateProcess without
// a handle to wait on, so a shell script tells through files. It also holds a connection to the
// display meanwhile: a virtual display resets its keymap when its last client leaves, which a
// test's Wine processes do between them.
class XKeyboardLayout {
 public:
  explicit XKeyboardLayout(const std::string& layout) : folder_(newTempFolder("xkb")) {
    const std::string script =
        "exec >/dev/null 2>&1 </dev/null; xdotool getdisplaygeometry sleep 300 >held &"
        " while [ ! -s held ] && kill -0 $! ; do sleep 0.05; done; setxkbmap -layout " +
        layout + " && setxkbmap -query | grep -qx 'layout: *" + layout +
        "'; echo $? >set; while [ ! -e release ] && kill -0 $! ; do sleep 0.1; done;"
        " setxkbmap -layout us; echo $? >restored; kill $!";
    std::wstring command = platform::win32::widen("/bin/sh -c \"" + script + "\"");
    const std::wstring dir = platform::win32::widen(folder_);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.c_str(), &startup, &info))
      return;
    if (info.hProcess) CloseHandle(info.hProcess);
    if (info.hThread) CloseHandle(info.hThread);
    ok_ = exitCode("set") == "0\n";
  }
  ~XKeyboardLayout() {
    writeFile(folder_ + "\\release", "");
    exitCode("restored");
  }
  XKeyboardLayout(const XKeyboardLayout&) = delete;
  XKeyboardLayout& operator=(const XKeyboardLayout&) = delete;
  bool ok() const { return ok_; }

 private:
  std::string exitCode(const std::string& file) const {
    const std::string path = folder_ + "\\" + file;
    waitUntil([&] { return readFile(path).find('\n') != std::string::npos; }, 10000);
    return readFile(path);
  }

  std::string folder_;
  bool ok_ = false;
};

class LaunchOnAKeyboardLayout : public LaunchInTheWindow,
                                public ::testing::WithParamInterface<const char*> {};

TEST_P(LaunchOnAKeyboardLayout, TheGameStarts) {
  const XKeyboardLayout layout(GetParam());
  ASSERT_TRUE(layout.ok()) << "setxkbmap -layout " << GetParam();
  ASSERT_TRUE(startWithMarker());
  pressLaunch();
  EXPECT_EQ(gameReport(), "started " + gameExe() + "\r\n");
  EXPECT_TRUE(noMessageBox()) << "the Run dialog ran what it was given";
}

// X names the Greek layout "gr"; "el" is no layout of its own and leaves the old one in place.
INSTANTIATE_TEST_SUITE_P(Layouts, LaunchOnAKeyboardLayout,
                         ::testing::Values("us", "ru", "gr", "fr", "de"));

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
