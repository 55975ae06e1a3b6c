#pragma once

// A test that starts the real launcher on a prepared program folder and game folder and works
// its window as a user does: click marks and buttons, answer its message boxes.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "launcher/control_ids.h"
#include "support/e2e_driver.h"

namespace vcit::e2e {

class LauncherSession : public ::testing::Test {
 protected:
  static constexpr const char* kCaption = "VC:IT Mod Launcher";

  explicit LauncherSession(const std::string& gameLabel = "game")
      : game(gameLabel), basePath(game.path()) {}
  void SetUp() override { makeDpiAware(); }

  HWND start(const std::vector<std::string>& environment = {}) {
    process = std::make_unique<Process>(program.exe(), environment);
    window = process->waitForWindow(kCaption);
    EXPECT_NE(window, nullptr) << "the launcher window did not appear";
    return window;
  }

  HWND control(int id) const { return childById(window, id); }
  HWND mark(int row) const { return control(launcher::ids::kMarkBase + row); }
  int markState(int row) const {
    return static_cast<int>(SendMessageW(mark(row), BM_GETCHECK, 0, 0));
  }
  bool applyEnabled() const { return IsWindowEnabled(control(launcher::ids::kApply)) != FALSE; }
  // Clicks a button or check box with the mouse and lets the window work.
  void press(HWND hwnd) {
    click(hwnd);
    settle(window);
  }
  void pressApply() { press(control(launcher::ids::kApply)); }
  void pressLaunch() { press(control(launcher::ids::kLaunch)); }

  // The next message box of the launcher, which must come.
  MessageBoxSeen messageBox(int timeoutMs = 10000) {
    const auto box = waitForMessageBox(process->id(), timeoutMs);
    EXPECT_TRUE(box.has_value()) << "no message box appeared";
    return box.value_or(MessageBoxSeen{});
  }
  bool noMessageBox(int timeoutMs = 500) {
    return !waitForMessageBox(process->id(), timeoutMs).has_value();
  }
  // Files in the game's main folder other than packages (temporary copies left behind).
  std::vector<std::string> strayFilesInMain() const;

  ProgramFolder program{launcherExe(), "session"};
  GameFolder game;
  BasePath basePath;
  std::unique_ptr<Process> process;
  HWND window = nullptr;
};

inline std::vector<std::string> LauncherSession::strayFilesInMain() const {
  std::vector<std::string> stray;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((game.mainDir() + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return stray;
  do {
    const std::string name = found.cFileName;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (name.size() < 4 || _stricmp(name.c_str() + name.size() - 4, ".pk3") != 0)
      stray.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return stray;
}

}  // namespace vcit::e2e
