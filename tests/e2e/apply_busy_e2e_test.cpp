// The launcher window during a long Apply under Wine: it stays painted and answers what other
// programs ask of it, while clicks and close requests wait until Apply is over.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <thread>

#include "e2e/launcher_session.h"

namespace vcit::e2e {
namespace {

using ::testing::IsEmpty;

// Enough data that Apply is still copying while the test looks at the window.
constexpr int kPackages = 16;
constexpr std::size_t kPackageBytes = 96u << 20;

std::uint64_t sizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string packageName(int row) {
  return "big" + std::to_string(row / 10) + std::to_string(row % 10) + ".pk3";
}

class ApplyKeepsTheWindowAlive : public LauncherSession {
 protected:
  // Every package marked in the state file but none in main yet; row 15 unmarked.
  void prepareLongApply() {
    const std::string bytes(kPackageBytes, 'p');
    std::vector<std::pair<std::string, int>> records;
    for (int row = 0; row < kPackages; ++row) {
      program.addPackage(packageName(row), bytes);
      records.emplace_back(packageName(row), row == kPackages - 1 ? 0 : 1);
    }
    program.writeStateFile(records);
    ASSERT_TRUE(start());
    press(mark(kPackages - 1));  // a change, so Apply is enabled; all 16 are now marked
    ASSERT_TRUE(applyEnabled());
  }
  // Starts Apply without waiting for it, and waits until its copies have begun.
  bool startApply() {
    PostMessageW(control(launcher::ids::kApply), BM_CLICK, 0, 0);
    return waitUntil([&] { return !strayFilesInMain().empty(); }, 20000);
  }
  // Whether Apply is still busy: its temporary copies are in main until it renames them.
  bool applying() const { return !strayFilesInMain().empty(); }
  bool allPackagesInMain() const {
    for (int row = 0; row < kPackages; ++row)
      if (!game.hasPackage(packageName(row))) return false;
    return true;
  }
};

TEST_F(ApplyKeepsTheWindowAlive, ClicksWaitUntilApplyIsOverWhileTheWindowPaintsAndAnswers) {
  prepareLongApply();
  ASSERT_TRUE(startApply()) << "Apply did not begin copying";

  // Another program sends a click to row 0's mark; a posted click goes to row 1's.
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutW(mark(0), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result), 0)
      << "a message sent to the window was not answered";
  PostMessageW(mark(1), BM_CLICK, 0, 0);

  wchar_t caption[64] = {};
  EXPECT_NE(SendMessageTimeoutW(window, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(caption),
                                SMTO_ABORTIFHUNG, 5000, &result),
            0);
  EXPECT_EQ(narrow(caption), kCaption);
  // A shutdown asks first: while Apply runs, the answer is no.
  const auto mayEndSession = [&] {
    DWORD_PTR answer = 2;
    SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    return answer;
  };
  EXPECT_EQ(mayEndSession(), DWORD_PTR{FALSE}) << "a shutdown would end Apply half-done";
  EXPECT_TRUE(fileExists(program.stateFile() + ".pending")) << "no mark of an Apply under way";

  InvalidateRect(window, nullptr, TRUE);
  const bool painted =
      waitUntil([&] { return GetUpdateRect(window, nullptr, FALSE) == FALSE; }, 3000);
  EXPECT_TRUE(painted) << "the window was not repainted during Apply";

  EXPECT_EQ(markState(0), BST_CHECKED) << "a click ran its handler during Apply";
  EXPECT_EQ(markState(1), BST_CHECKED) << "a click ran its handler during Apply";
  ASSERT_TRUE(applying()) << "Apply ended before the checks were done: make the packages larger";

  // Once Apply is over, both clicks take effect.
  ASSERT_TRUE(waitUntil([&] { return !applying() && allPackagesInMain(); }, 120000));
  EXPECT_TRUE(waitUntil([&] { return markState(0) == BST_UNCHECKED; }, 10000));
  EXPECT_TRUE(waitUntil([&] { return markState(1) == BST_UNCHECKED; }, 10000));
  EXPECT_TRUE(applyEnabled()) << "the marks changed after Apply";
  EXPECT_TRUE(noMessageBox());
  EXPECT_EQ(mayEndSession(), DWORD_PTR{TRUE});
  EXPECT_FALSE(fileExists(program.stateFile() + ".pending"));
  // Apply recorded the marks as they were when it ran.
  std::string expected;
  for (int row = 0; row < kPackages; ++row) expected += stateRecord(packageName(row), 1);
  EXPECT_EQ(program.readStateFile(), expected);
}

// Under Wine the taskbar shows no progress: the window's own bar, read by another program.
TEST_F(ApplyKeepsTheWindowAlive, ABarInTheWindowRisesWhileApplyCopiesAndHidesAfter) {
  prepareLongApply();
  const HWND bar = control(launcher::ids::kProgress);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(className(bar), "msctls_progress32");
  EXPECT_FALSE(IsWindowVisible(bar)) << "shown before Apply";
  auto position = [bar] {
    DWORD_PTR pos = 0;
    SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &pos);
    return static_cast<int>(pos);
  };

  ASSERT_TRUE(startApply()) << "Apply did not begin copying";
  ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(bar) != FALSE; }, 5000))
      << "the bar did not show while Apply copies";
  const int first = position();
  int later = first;
  EXPECT_TRUE(waitUntil([&] { return (later = position()) > first; }, 20000))
      << "the bar stayed at " << first;
  EXPECT_LE(later, 1000);
  waitUntil([&] { return position() >= 300; }, 5000);  // for a screenshot that shows it
  EXPECT_TRUE(saveScreenshot(window, artifactFolder() + "\\apply-progress-bar.png"));

  ASSERT_TRUE(waitUntil([&] { return !applying() && allPackagesInMain(); }, 120000));
  EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(bar) == FALSE; }, 10000))
      << "the bar still shows after Apply";
  EXPECT_TRUE(waitUntil([&] { return !applyEnabled(); }, 10000));
  EXPECT_TRUE(noMessageBox());
}

TEST_F(ApplyKeepsTheWindowAlive, ExitClickedDuringApplyEndsTheProgramOnlyAfterIt) {
  prepareLongApply();
  ASSERT_TRUE(startApply()) << "Apply did not begin copying";
  PostMessageW(control(launcher::ids::kExit), BM_CLICK, 0, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_TRUE(process->running()) << "the program ended in the middle of Apply";
  ASSERT_TRUE(applying()) << "Apply ended before the checks were done: make the packages larger";

  ASSERT_TRUE(process->waitForExit(120000).has_value()) << "the program did not end after Apply";
  EXPECT_TRUE(allPackagesInMain());
  EXPECT_THAT(strayFilesInMain(), IsEmpty());
  for (int row = 0; row < kPackages; ++row)
    EXPECT_EQ(sizeOf(game.mainDir() + "\\" + packageName(row)), kPackageBytes) << row;
  EXPECT_EQ(program.readStateFile().size(), 51u * kPackages);
}

}  // namespace
}  // namespace vcit::e2e
