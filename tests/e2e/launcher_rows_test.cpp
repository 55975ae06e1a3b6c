// The launcher's rows as the screen shows them. Each row is a few pixels taller than the row
// pitch, so neighbouring rows overlap: the later row must lie on top, so that every check box
// (with its focus rectangle) and the top of every name, where the accents of capitals stand,
// are drawn whole.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/launcher_session.h"
#include "launcher/control_ids.h"
#include "support/e2e_driver.h"

namespace vcit::e2e {
namespace {

namespace ids = launcher::ids;
using ::testing::IsEmpty;

class LauncherRows : public LauncherSession {
 protected:
  LauncherRows() : LauncherSession("launcher-rows-game") {}

  // The pixel rows of the window's screen rectangle [top, bottom) where, at the left edge,
  // the middle or the right edge, another window than `hwnd` is on top, as "row: y".
  static std::vector<std::string> coveredLines(HWND hwnd, int row, int top, int bottom) {
    RECT r;
    GetWindowRect(hwnd, &r);
    std::vector<std::string> covered;
    for (int y = top; y < bottom; ++y)
      for (const int x : {r.left, (r.left + r.right) / 2, r.right - 1})
        if (WindowFromPoint(POINT{x, y}) != hwnd) {
          covered.push_back(std::to_string(row) + ": " + std::to_string(y - r.top));
          break;
        }
    return covered;
  }

  // Every check box is on top over its whole height; every name box over all of it but the
  // part the next row covers.
  void expectRowsWhole() {
    std::vector<std::string> marks;
    std::vector<std::string> names;
    for (int row = 0; row < 16; ++row) {
      RECT box;
      GetWindowRect(mark(row), &box);
      for (auto& line : coveredLines(mark(row), row, box.top, box.bottom)) marks.push_back(line);

      const HWND name = control(ids::kNameBase + row);
      RECT text;
      GetWindowRect(name, &text);
      RECT next = text;
      if (row < 15) GetWindowRect(control(ids::kNameBase + row + 1), &next);
      const int visibleBottom = row < 15 ? next.top : text.bottom;
      for (auto& line : coveredLines(name, row, text.top, visibleBottom)) names.push_back(line);
    }
    EXPECT_THAT(marks, IsEmpty()) << "pixel rows of check boxes under another window";
    EXPECT_THAT(names, IsEmpty()) << "pixel rows of name boxes under another window";
  }

  // Names with accented capitals, and the focus on a check box, for the screenshot.
  void startWithAccentedNamesAndAFocusedMark() {
    for (const char* name : {"Ärmel.pk3", "Éclat.pk3", "Ölfass.pk3", "Übergang.pk3", "Zier.pk3"})
      program.addPackage(name);
    program.writeStateFile(
        {{"Zier.pk3", 1}});  // (the state file holds names in the ANSI code page)
    ASSERT_TRUE(start());
    activate(window);
    click(mark(2));
    settle(window);
    ASSERT_EQ(focusOf(window), mark(2));
  }
};

TEST_F(LauncherRows, EachLaterRowLiesOnTopSoEveryCheckBoxAndNameIsWhole) {
  startWithAccentedNamesAndAFocusedMark();
  ASSERT_EQ(windowDpi(window), 96u) << "this test's prefix runs at 96 DPI";
  expectRowsWhole();
  EXPECT_TRUE(saveScreenshot(window, artifactFolder() + "\\launcher-rows-96dpi.png"));
}

// Its prefix is set to 144 DPI before its server starts.
class LauncherRowsAt144Dpi : public LauncherRows {};

TEST_F(LauncherRowsAt144Dpi, EachLaterRowLiesOnTopSoEveryCheckBoxAndNameIsWhole) {
  startWithAccentedNamesAndAFocusedMark();
  ASSERT_EQ(windowDpi(window), 144u) << "this test's prefix must run at 144 DPI";
  expectRowsWhole();
  EXPECT_TRUE(saveScreenshot(window, artifactFolder() + "\\launcher-rows-144dpi.png"));
}

}  // namespace
}  // namespace vcit::e2e
