// The desktop services against Windows' (Wine's) own: clipboard, message boxes, keystrokes
// with their wait, the Run dialog and starting programs. Needs a display.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "core/runtime_error.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_files.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_events.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_program_starter.h"
#include "platform/win32/win32_shell.h"
#include "support/e2e_driver.h"
#include "support/error_of.h"

namespace vcit::platform {
namespace {

using Stroke = Win32Keyboard::Stroke;

std::string ansiClipboardText() {
  if (!OpenClipboard(nullptr)) return "<not open>";
  std::string text;
  if (const HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// A window of this thread with an edit field that has the keyboard focus, in the foreground,
// as the launcher's window is when its Launch button is pressed.
class ForegroundEdit {
 public:
  ForegroundEdit() {
    window_ = CreateWindowExW(0, L"STATIC", L"vcit desktop test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              40, 40, 320, 120, nullptr, nullptr, nullptr, nullptr);
    edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 8, 8, 280, 24,
                            window_, nullptr, nullptr, nullptr);
    SetForegroundWindow(window_);
    SetFocus(edit_);
    Win32EventPump().doEvents();
  }
  ForegroundEdit(const ForegroundEdit&) = delete;
  ForegroundEdit& operator=(const ForegroundEdit&) = delete;
  ~ForegroundEdit() {
    DestroyWindow(window_);
    Win32EventPump().doEvents();
  }
  HWND window() const { return window_; }
  std::string text() const { return e2e::windowText(edit_); }
  bool focused() const { return GetFocus() == edit_ && GetForegroundWindow() == window_; }

 private:
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
};

TEST(ClipboardTest, TextGoesOnAsUnicodeAndCodePageText) {
  Win32Clipboard clipboard;
  clipboard.setText("C:\\Games\\Valor Crest\\vcit.exe");
  EXPECT_EQ(clipboard.text(), "C:\\Games\\Valor Crest\\vcit.exe");
  EXPECT_EQ(ansiClipboardText(), "C:\\Games\\Valor Crest\\vcit.exe");
  clipboard.setText("C:\\Jeux\\Cr\xC3\xAAte\\vcit.exe");
  EXPECT_EQ(clipboard.text(), "C:\\Jeux\\Cr\xC3\xAAte\\vcit.exe");
  if (GetACP() == 1252) {
    EXPECT_EQ(ansiClipboardText(), "C:\\Jeux\\Cr\xEAte\\vcit.exe");
  }
}

TEST(ClipboardTest, AClipboardHeldByAnotherThreadIsError521) {
  Win32Clipboard clipboard;
  clipboard.setText("before");
  std::atomic<bool> held{false}, release{false};
  // Held through a window, as another program holds it.
  const auto holdOpen = [&](DWORD milliseconds) {
    const HWND owner =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (OpenClipboard(owner)) {
      held = true;
      const ULONGLONG until = GetTickCount64() + milliseconds;
      while (!release && GetTickCount64() < until) Sleep(5);
      CloseClipboard();
    }
    DestroyWindow(owner);
  };
  std::thread holder([&] { holdOpen(INFINITE); });
  while (!held) Sleep(5);
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(errorOf([&] { clipboard.setText("after"); }), 521);
  EXPECT_GE(GetTickCount64() - start, 200u) << "it retries before giving up";
  release = true;
  holder.join();
  EXPECT_EQ(clipboard.text(), "before");
  // Held only for a moment: the retry gets it.
  held = release = false;
  std::thread briefly([&] { holdOpen(100); });
  while (!held) Sleep(5);
  EXPECT_EQ(errorOf([&] { clipboard.setText("after"); }), 0);
  briefly.join();
  EXPECT_EQ(clipboard.text(), "after");
}

TEST(MessageBoxTest, ShowsCodePageTextAndGivesTheAnswer) {
  Win32MessageBoxes boxes;
  std::string seenText, seenTitle;
  std::thread answerer([&] {
    const auto box = e2e::waitForMessageBox(GetCurrentProcessId(), 10000);
    if (!box) return;
    seenText = box->text;
    seenTitle = box->title;
    e2e::answer(*box, IDNO);
  });
  const int answer = boxes.show("Apply now? \xC3\xA9", "RUZiza", mb::kYesNo | mb::kIconQuestion);
  answerer.join();
  EXPECT_EQ(answer, mb::kAnswerNo);
  EXPECT_EQ(seenTitle, "RUZiza");
  EXPECT_EQ(seenText, "Apply now? \xC3\xA9");
}

TEST(KeyboardTest, TheKeySyntax) {
  const auto ctrlV = Win32Keyboard::parse("^v");
  ASSERT_EQ(ctrlV.size(), 4u);
  EXPECT_EQ(ctrlV[0].vk, VK_CONTROL);
  EXPECT_FALSE(ctrlV[0].up);
  EXPECT_EQ(ctrlV[1].vk, 'V');
  EXPECT_FALSE(ctrlV[1].up);
  EXPECT_EQ(ctrlV[2].vk, 'V');
  EXPECT_TRUE(ctrlV[2].up);
  EXPECT_EQ(ctrlV[3].vk, VK_CONTROL);
  EXPECT_TRUE(ctrlV[3].up);
  for (const char* enter : {"{enter}", "{ENTER}", "~"}) {
    const auto strokes = Win32Keyboard::parse(enter);
    ASSERT_EQ(strokes.size(), 2u) << enter;
    EXPECT_EQ(strokes[0].vk, VK_RETURN);
    EXPECT_TRUE(strokes[1].up);
  }
  EXPECT_EQ(Win32Keyboard::parse("{tab 3}").size(), 6u);
  EXPECT_EQ(Win32Keyboard::parse("+(ab)").size(), 6u) << "shift held around both letters";
  EXPECT_EQ(Win32Keyboard::parse("{+}").size(), 4u) << "the plus sign itself, typed with shift";
  for (const char* bad : {"{nokey}", "{", "{enter", "(ab", ")", "^", "{}", "{tab x}"})
    EXPECT_EQ(errorOf([&] { Win32Keyboard::parse(bad); }), 5) << bad;
}

TEST(KeyboardTest, KeystrokesToThisThreadAreProcessedBeforeSendKeysReturns) {
  const ForegroundEdit edit;
  ASSERT_TRUE(edit.focused());
  Win32EventPump events;
  Win32Keyboard keyboard;
  keyboard.events = &events;
  keyboard.sendKeys("abc");
  EXPECT_EQ(edit.text(), "abc");
  keyboard.sendKeys("+(de){bs}");
  EXPECT_EQ(edit.text(), "abcD");
  Win32Clipboard clipboard;
  clipboard.setText("C:\\Program Files\\VC\\vcit.exe");
  keyboard.sendKeys("{home}+{end}^v");
  EXPECT_EQ(edit.text(), "C:\\Program Files\\VC\\vcit.exe");
}

TEST(EventPumpTest, ProcessesPendingMessagesThroughTheFilterAndKeepsQuit) {
  const ForegroundEdit edit;
  Win32EventPump events;
  int filtered = 0;
  events.filter = [&](MSG& m) {
    if (m.message != WM_APP + 7) return false;
    ++filtered;
    return true;
  };
  PostMessageW(edit.window(), WM_APP + 7, 0, 0);
  PostMessageW(edit.window(), WM_APP + 7, 0, 0);
  events.doEvents();
  EXPECT_EQ(filtered, 2);
  PostQuitMessage(3);
  events.doEvents();
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT)) << "left for the program's message loop";
  EXPECT_EQ(m.wParam, 3u);
}

#ifdef VCIT_STANDIN_GAME
// The launch's sequence with the real services: the game's path on the clipboard, the Run
// dialog, Ctrl+V and Enter, with pending events processed in between.
class RunDialogTest : public ::testing::Test {
 protected:
  RunDialogTest() { SetEnvironmentVariableW(L"VCIT_STANDIN_MARKER", e2e::wide(marker_).c_str()); }
  ~RunDialogTest() override {
    SetEnvironmentVariableW(L"VCIT_STANDIN_MARKER", nullptr);
    shell.closeDialogs();
    e2e::removeTree(dir_);
  }

  void launch(const std::string& exe) {
    clipboard.setText(exe);
    {
      const auto object = shell.create();
      object->FileRun();
      events.doEvents();
      keyboard.sendKeys("^v");
      events.doEvents();
      keyboard.sendKeys("{enter}");
      events.doEvents();
    }
    RecordProperty(
        "FileRunResult",
        std::to_string(static_cast<unsigned long>(shell.lastFileRunForTesting().result)));
  }
  std::string installGame(const std::string& folder) {
    CreateDirectoryW(e2e::wide(dir_ + "\\" + folder).c_str(), nullptr);
    const std::string exe = dir_ + "\\" + folder + "\\vcit.exe";
    e2e::copyFile(e2e::windowsPath(VCIT_STANDIN_GAME), exe);
    return exe;
  }
  bool started() { return !e2e::waitForRenamedFile(marker_).empty(); }

  std::string dir_ = e2e::newTempFolder("rundialog");
  std::string marker_ = dir_ + "\\marker.txt";
  Win32Clipboard clipboard;
  Win32Shell shell;
  Win32EventPump events;
  Win32Keyboard keyboard;
  ForegroundEdit launcherWindow;
};

TEST_F(RunDialogTest, StartsTheGameAndLeavesItsPathOnTheClipboard) {
  keyboard.events = &events;
  const std::string exe = installGame("game");
  launch(exe);
  // Wine's shell has no FileRun (E_NOTIMPL); the shell's own Run dialog stands in.
  EXPECT_TRUE(SUCCEEDED(shell.lastFileRunForTesting().result) ||
              shell.lastFileRunForTesting().usedRunFileDlg);
  ASSERT_TRUE(started());
  EXPECT_EQ(e2e::readFile(marker_).substr(0, 8 + exe.size()), "started " + exe);
  EXPECT_EQ(clipboard.text(), exe);
  EXPECT_FALSE(shell.lastFileRunForTesting().dialog &&
               IsWindow(shell.lastFileRunForTesting().dialog))
      << "Enter closed the dialog";
}

TEST_F(RunDialogTest, AGamePathWithSpacesStartsUnquoted) {
  keyboard.events = &events;
  const std::string exe = installGame("Valor Crest Iron Tide");
  launch(exe);
  ASSERT_TRUE(started()) << "the Run dialog did not start " << exe;
  EXPECT_EQ(e2e::readFile(marker_).substr(0, 8 + exe.size()), "started " + exe);
}

TEST_F(RunDialogTest, AMissingGameLeavesADialogThatIsClosedWithTheShell) {
  keyboard.events = &events;
  launch(dir_ + "\\absent\\vcit.exe");
  EXPECT_FALSE(e2e::fileExists(marker_));
  ASSERT_TRUE(shell.lastFileRunForTesting().usedRunFileDlg ||
              SUCCEEDED(shell.lastFileRunForTesting().result));
  const ULONGLONG start = GetTickCount64();
  shell.closeDialogs();
  EXPECT_LT(GetTickCount64() - start, 3000u);
  if (shell.lastFileRunForTesting().dialog) {
    EXPECT_FALSE(IsWindow(shell.lastFileRunForTesting().dialog));
  }
}
#endif

TEST(ShellTest, WithoutADialogInTheFocusFileRunFailsRatherThanLetKeysGoElsewhere) {
  const ForegroundEdit launcherWindow;
  Win32Shell shell;
  shell.focusTimeoutMs = 0;  // no dialog can have come up
  const auto object = shell.create();
  EXPECT_EQ(errorOf([&] { object->FileRun(); }), 440);
  EXPECT_EQ(shell.lastFileRunForTesting().dialog, nullptr);
  shell.closeDialogs();  // the late dialog does not stay behind
  for (const HWND w : e2e::topLevelWindows(GetCurrentProcessId()))
    EXPECT_NE(e2e::windowText(w), "Run");
}

// A shell whose FileRun succeeds and whose Run dialog comes late: its dialog is waited for,
// and the shell's own is never opened beside it.
class SlowShellTest : public ::testing::Test {
 protected:
  ~SlowShellTest() override {
    // The stand-in dialog is closed whether or not the test got to it.
    for (int i = 0; i < 500 && late_.joinable() && !lateDone_; ++i) {
      if (const HWND w = FindWindowW(L"#32770", L"Slow Run")) PostMessageW(w, WM_COMMAND, IDOK, 0);
      Sleep(10);
    }
    if (late_.joinable()) late_.join();
    shell.closeDialogs();
  }
  // FileRun succeeds; a dialog titled "Slow Run" opens after the delay, or none at all.
  void playSlowShell(std::optional<DWORD> delayMs) {
    shell.fileRunForTesting = [this, delayMs](IShellDispatch&) {
      if (delayMs) {
        late_ = std::thread([this, delay = *delayMs] {
          Sleep(delay);
          MessageBoxW(nullptr, L"standing in for the shell's Run dialog", L"Slow Run", MB_OK);
          lateDone_ = true;
        });
      }
      return S_OK;
    };
  }
  int runDialogsOfOurOwn() {
    int n = 0;
    for (const HWND w : e2e::topLevelWindows(GetCurrentProcessId()))
      if (IsWindowVisible(w) && e2e::windowText(w) == "Run") ++n;
    return n;
  }

  const ForegroundEdit launcherWindow;
  Win32Shell shell;
  std::thread late_;
  std::atomic<bool> lateDone_{false};
};

TEST_F(SlowShellTest, ALateDialogOfTheShellIsTheOneAndOnly) {
  playSlowShell(2000);  // later than the shell was once given before a second dialog opened
  const auto object = shell.create();
  EXPECT_EQ(errorOf([&] { object->FileRun(); }), 0);
  EXPECT_FALSE(shell.lastFileRunForTesting().usedRunFileDlg);
  ASSERT_NE(shell.lastFileRunForTesting().dialog, nullptr);
  EXPECT_EQ(e2e::windowText(shell.lastFileRunForTesting().dialog), "Slow Run");
  EXPECT_EQ(runDialogsOfOurOwn(), 0);
  PostMessageW(shell.lastFileRunForTesting().dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(SlowShellTest, NoDialogAfterASucceededFileRunIsError440WithoutASecondDialog) {
  playSlowShell(std::nullopt);
  shell.focusTimeoutMs = 800;
  const auto object = shell.create();
  EXPECT_EQ(errorOf([&] { object->FileRun(); }), 440);
  EXPECT_FALSE(shell.lastFileRunForTesting().usedRunFileDlg);
  EXPECT_EQ(runDialogsOfOurOwn(), 0);
}

TEST_F(SlowShellTest, AFailedFileRunOpensTheShellsOwnRunDialog) {
  shell.fileRunForTesting = [](IShellDispatch&) { return E_NOTIMPL; };  // what Wine answers
  const auto object = shell.create();
  EXPECT_EQ(errorOf([&] { object->FileRun(); }), 0);
  EXPECT_TRUE(shell.lastFileRunForTesting().usedRunFileDlg);
  ASSERT_NE(shell.lastFileRunForTesting().dialog, nullptr);
  EXPECT_EQ(runDialogsOfOurOwn(), 1);
}

// What the program starter refuses, with the fake set up alike: it must refuse the same.
TEST(ProgramStarterTest, OnlyAProgramStartsAndTheFakeRefusesWhatWindowsRefuses) {
  const std::string dir = e2e::newTempFolder("programs");
  const std::string program = dir + "\\tool.exe";
  const std::string marker = dir + "\\marker.txt";
  e2e::copyFile(e2e::windowsPath(VCIT_STANDIN_GAME), program);
  e2e::writeFile(dir + "\\readme.txt", "a document");
  ASSERT_TRUE(CreateDirectoryW(e2e::wide(dir + "\\folder").c_str(), nullptr));

  CallLog log;
  FakeFileSystem files;
  files.addFolder(dir + "\\folder");
  files.addFile(program, "MZ");
  files.addFile(dir + "\\readme.txt", "a document");
  FakeProgramStarter fake(log, &files);
  Win32ProgramStarter real;

  const struct {
    std::string path;
    int error;
  } cases[] = {
      {"", 53},
      {dir + "\\absent.exe", 53},
      {"C:\\vcit-no-such-folder\\nothing.exe", 53},
      {dir + "\\folder", 70},
      {dir + "\\readme.txt", 5},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(errorOf([&] { real.start(c.path); }), c.error) << "Windows: " << c.path;
    EXPECT_EQ(errorOf([&] { fake.start(c.path); }), c.error) << "fake: " << c.path;
  }

  SetEnvironmentVariableW(L"VCIT_STANDIN_MARKER", e2e::wide(marker).c_str());
  EXPECT_EQ(errorOf([&] { real.start(program); }), 0);
  SetEnvironmentVariableW(L"VCIT_STANDIN_MARKER", nullptr);
  EXPECT_FALSE(e2e::waitForRenamedFile(marker).empty());
  EXPECT_EQ(errorOf([&] { fake.start(program); }), 0);
}

}  // namespace
}  // namespace vcit::platform
