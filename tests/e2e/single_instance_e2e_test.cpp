// One launcher per program folder: a second start brings the running window to the front and
// ends; launchers in two folders run side by side.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "e2e/launcher_session.h"

namespace vcit::e2e {
namespace {

class SecondStart : public LauncherSession {
 protected:
  SecondStart() : LauncherSession("second-start-game") {}
};

TEST_F(SecondStart, ShowsTheRunningWindowOfItsFolderAndEnds) {
  ASSERT_TRUE(start());
  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(waitUntil([&] { return IsIconic(window) != FALSE; }));

  // The same folder in other letter case.
  std::string otherCase = program.exe();
  std::transform(otherCase.begin(), otherCase.end(), otherCase.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const auto begin = std::chrono::steady_clock::now();
  Process second(otherCase);
  const auto exitCode = second.waitForExit(10000);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - begin)
                      .count();
  std::printf("second start ended after %lld ms\n", static_cast<long long>(ms));
  ASSERT_EQ(exitCode, 0u);
  EXPECT_LT(ms, 5000) << "found the window, not given up waiting for one";

  EXPECT_TRUE(waitUntil([&] { return !IsIconic(window) && GetForegroundWindow() == window; }))
      << "restored and in front";
  EXPECT_TRUE(process->running());
  EXPECT_EQ(topLevelWindows(process->id()).size(), 1u);

  // A launcher unpacked into another folder runs beside it.
  ProgramFolder otherInstall{launcherExe(), "other-install"};
  Process other(otherInstall.exe());
  EXPECT_NE(other.waitForWindow(kCaption), nullptr);
}

// Start-up reports a missing basepath before the window shows: a second start brings that
// message forward instead of waiting for the window.
TEST_F(SecondStart, WhileAStartUpMessageWaitsShowsThatMessage) {
  basePath.remove();
  process = std::make_unique<Process>(program.exe());
  const MessageBoxSeen box = messageBox();
  ASSERT_EQ(box.text, "Valor Crest path not found");
  const HWND elsewhere =
      CreateWindowExW(0, L"STATIC", L"elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                      nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(elsewhere);
  ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == elsewhere; }));

  Process second(program.exe());
  EXPECT_EQ(second.waitForExit(10000), 0u);
  EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == box.hwnd; }));
  DestroyWindow(elsewhere);
  answer(box, IDOK);
  EXPECT_NE(process->waitForWindow(kCaption), nullptr);
}

TEST_F(SecondStart, TwoStartsAtOnceGiveOneWindow) {
  Process first(program.exe());
  Process second(program.exe());
  ASSERT_TRUE(waitUntil([&] { return !first.running() || !second.running(); }, 15000));
  Process& ended = first.running() ? second : first;
  Process& running = first.running() ? first : second;
  EXPECT_EQ(ended.waitForExit(0), 0u);
  const HWND shown = running.waitForWindow(kCaption);
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == shown; }));
}

}  // namespace
}  // namespace vcit::e2e
