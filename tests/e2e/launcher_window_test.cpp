// The launcher window of the real program under Wine: its geometry in twips, its controls,
// the keyboard and the mouse as a user meets them.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "e2e/launcher_session.h"
#include "launcher/control_ids.h"
#include "launcher/launcher_layout.h"
#include "support/e2e_driver.h"

namespace vcit::e2e {
namespace {

namespace ids = launcher::ids;

class LauncherWindow : public LauncherSession {
 protected:
  LauncherWindow() : LauncherSession("launcher-window-game") {}

  ui::TwipsRect twipsOf(HWND hwnd, unsigned dpi) const {
    const RECT r = rectInParent(hwnd);
    return {pixelsToTwips(r.left, dpi), pixelsToTwips(r.top, dpi),
            pixelsToTwips(r.right - r.left, dpi), pixelsToTwips(r.bottom - r.top, dpi)};
  }

  // Every control where the layout puts it, at this DPI, within the rounding of one pixel.
  void expectLayoutAt(unsigned dpi) {
    const RECT client = clientOnScreen(window);
    EXPECT_NEAR(pixelsToTwips(client.right - client.left, dpi), 5160, 1440 / dpi);
    EXPECT_NEAR(pixelsToTwips(client.bottom - client.top, dpi), 4440, 1440 / dpi);
    const int tolerance = static_cast<int>(1440 / dpi);
    for (const auto& c : launcher::layout().controls) {
      HWND hwnd = control(c.id);
      ASSERT_NE(hwnd, nullptr) << c.name << "(" << c.index << ")";
      const ui::TwipsRect got = twipsOf(hwnd, dpi);
      SCOPED_TRACE(c.name + "(" + std::to_string(c.index) + ")");
      EXPECT_NEAR(got.left, c.rect.left, tolerance);
      EXPECT_NEAR(got.top, c.rect.top, tolerance);
      EXPECT_NEAR(got.width, c.rect.width, tolerance);
      EXPECT_NEAR(got.height, c.rect.height, tolerance);
    }
  }
};

TEST_F(LauncherWindow, ShowsItsCaptionControlsAndGeometryInTwipsAt96Dpi) {
  program.addPackage("alpha.pk3");
  program.addPackage("beta.pk3");
  ASSERT_TRUE(start());

  EXPECT_EQ(windowText(window), kCaption);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME) << "a resizable frame";
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
  ASSERT_EQ(windowDpi(window), 96u) << "this test's prefix runs at 96 DPI";
  const RECT client = clientOnScreen(window);
  EXPECT_EQ(client.right - client.left, 344);
  EXPECT_EQ(client.bottom - client.top, 296);
  expectLayoutAt(96);

  EXPECT_EQ(windowText(control(ids::kApply)), "&Apply");
  EXPECT_EQ(windowText(control(ids::kLaunch)), "&Launch VC");
  EXPECT_EQ(windowText(control(ids::kExit)), "E&xit");
  EXPECT_EQ(windowText(control(ids::kAbout)), "About...");
  EXPECT_EQ(windowText(control(ids::kMarkBase)), "") << "the check boxes have no caption";
  EXPECT_EQ(windowText(control(ids::kNameBase)), "alpha.pk3");
  EXPECT_EQ(windowText(control(ids::kNameBase + 1)), "beta.pk3");
  EXPECT_EQ(windowText(control(ids::kNameBase + 2)), "");
  EXPECT_FALSE(applyEnabled()) << "start-up leaves nothing to apply";

  // The rows' containment: name boxes and mark panels in the list panel, marks in their panel.
  const HWND listPanel = control(ids::kListPanel);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(GetParent(control(ids::kNameBase + i)), listPanel);
    EXPECT_EQ(GetParent(control(ids::kMarkPanelBase + i)), listPanel);
    EXPECT_EQ(GetParent(control(ids::kMarkBase + i)), control(ids::kMarkPanelBase + i));
  }

  // The mark panels show the window background beside their box; the list panel its own
  // colour below the rows.
  EXPECT_EQ(pixelAt(control(ids::kMarkPanelBase + 3), 50, 8), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(pixelAt(listPanel, 100, 265), GetSysColor(COLOR_BTNFACE));

  // The file list exists but never shows.
  const HWND files = control(ids::kFileList);
  ASSERT_NE(files, nullptr);
  EXPECT_FALSE(IsWindowVisible(files));

  // Row 1 has no caret to count: its text alone.
  EXPECT_LE(inkRows(control(ids::kNameBase + 1), 3), 12) << "8-point text at 96 DPI";
  EXPECT_TRUE(saveScreenshot(window, artifactFolder() + "\\launcher-96dpi.png"));
}

TEST_F(LauncherWindow, MaximizingLeavesEveryControlInPlace) {
  ASSERT_TRUE(start());
  ShowWindow(window, SW_MAXIMIZE);
  settle(window);
  const RECT client = clientOnScreen(window);
  EXPECT_GT(client.right - client.left, 344);
  for (const auto& c : launcher::layout().controls) {
    const ui::TwipsRect got = twipsOf(control(c.id), 96);
    EXPECT_NEAR(got.left, c.rect.left, 15) << c.name;
    EXPECT_NEAR(got.top, c.rect.top, 15) << c.name;
    EXPECT_NEAR(got.width, c.rect.width, 15) << c.name;
  }
}

TEST_F(LauncherWindow, TabVisitsTheControlsInTheirOrderAndPassesOverWhatCannotTakeFocus) {
  for (const char* name : {"a.pk3", "b.pk3"}) program.addPackage(name);
  ASSERT_TRUE(start());
  activate(window);
  ASSERT_TRUE(waitUntil([&] { return focusOf(window) == control(ids::kNameBase); }))
      << "the first control that takes the focus has it when the window opens";

  // Tab follows the layout's tab order from the first name round to it again, passing over
  // Apply (disabled after start-up) and the hidden file list.
  std::vector<int> expected;
  for (const ui::ControlLayout* c : launcher::layout().tabOrder())
    if (c->tabStop && c->visible && c->id != ids::kApply) expected.push_back(c->id);
  ASSERT_EQ(expected.front(), ids::kNameBase);
  std::rotate(expected.begin(), expected.begin() + 1, expected.end());
  std::vector<int> visited;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    pressKey(VK_TAB);
    visited.push_back(GetDlgCtrlID(focusOf(window)));
  }
  EXPECT_EQ(visited, expected);

  // Shift+Tab goes back; with Apply enabled it is visited between Launch and Exit.
  pressKey(VK_TAB, /*shift=*/true);
  EXPECT_EQ(GetDlgCtrlID(focusOf(window)), ids::kAbout);
  click(control(ids::kMarkBase));
  ASSERT_TRUE(applyEnabled());
  click(control(ids::kNameBase));
  std::vector<int> withApply;
  for (int i = 0; i < 3; ++i) {
    pressKey(VK_TAB);
    withApply.push_back(GetDlgCtrlID(focusOf(window)));
  }
  EXPECT_EQ(withApply, (std::vector<int>{ids::kLaunch, ids::kApply, ids::kExit}));
}

TEST_F(LauncherWindow, NameBoxesAreReadOnlyAndTypingChangesNothing) {
  program.addPackage("alpha.pk3");
  ASSERT_TRUE(start());
  const HWND name = control(ids::kNameBase);
  EXPECT_TRUE(GetWindowLongW(name, GWL_STYLE) & ES_READONLY);
  click(name);
  ASSERT_EQ(focusOf(window), name);
  typeText("xyz");
  pressKey(VK_BACK);
  pressKey(VK_DELETE);
  pressKey(VK_HOME);
  pressKey(VK_DELETE);
  typeText("q");
  EXPECT_EQ(windowText(name), "alpha.pk3");
  EXPECT_FALSE(applyEnabled()) << "typing is no change of the marks";
}

TEST_F(LauncherWindow, MarksComeBackFromTheStateFileAndAClickOnARowEnablesApply) {
  for (const char* name : {"a.pk3", "b.pk3", "c.pk3"}) program.addPackage(name);
  program.writeStateFile({{"c.pk3", 2}, {"b.pk3", 1}, {"a.pk3", 0}});
  ASSERT_TRUE(start());
  EXPECT_EQ(markState(0), BST_UNCHECKED);
  EXPECT_EQ(markState(1), BST_CHECKED);
  EXPECT_EQ(markState(2), BST_INDETERMINATE);
  EXPECT_FALSE(applyEnabled());

  click(control(ids::kMarkBase));
  EXPECT_EQ(markState(0), BST_CHECKED);
  EXPECT_TRUE(applyEnabled());
  click(control(ids::kMarkBase + 2));
  EXPECT_EQ(markState(2), BST_UNCHECKED) << "a click clears a grayed mark";

  // An empty row's box takes the click too.
  click(control(ids::kMarkBase + 9));
  EXPECT_EQ(markState(9), BST_CHECKED);
  EXPECT_TRUE(applyEnabled());
}

TEST_F(LauncherWindow, AccessKeysPressTheButtons) {
  program.addPackage("a.pk3");
  ASSERT_TRUE(start());
  activate(window);
  click(control(ids::kMarkBase));
  ASSERT_TRUE(applyEnabled());

  pressKey('A', false, false, /*alt=*/true);  // Apply: the state file now holds the mark
  ASSERT_TRUE(waitUntil([&] { return !applyEnabled(); }));
  EXPECT_EQ(program.readStateFile(), stateRecord("a.pk3", 1));
  EXPECT_TRUE(game.hasPackage("a.pk3"));

  pressKey('X', false, false, /*alt=*/true);  // Exit
  EXPECT_TRUE(process->waitForExit(10000).has_value());
}

TEST_F(LauncherWindow, AClickOnExitEndsTheProgram) {
  ASSERT_TRUE(start());
  click(control(ids::kExit));
  EXPECT_TRUE(process->waitForExit(10000).has_value());
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace vcit::e2e

namespace vcit::e2e {
namespace {

// Suites named ...At144Dpi run in a prefix whose screen is at 144 DPI from its start (see
// tests/CMakeLists.txt): Wine, like Windows, keeps the DPI its session started with.
class LauncherWindowAt144Dpi : public LauncherWindow {};

TEST_F(LauncherWindowAt144Dpi, KeepsItsTwipsLayoutWithFontsToMatch) {
  program.addPackage("alpha.pk3");
  program.addPackage("beta.pk3");
  ASSERT_TRUE(start());
  ASSERT_EQ(windowDpi(window), 144u) << "this test's prefix runs at 144 DPI";
  const RECT client = clientOnScreen(window);
  EXPECT_EQ(client.right - client.left, 516);
  EXPECT_EQ(client.bottom - client.top, 444);
  expectLayoutAt(144);

  // The font grows with the DPI: "beta.pk3" stands about 1.5 times as tall as at 96 DPI.
  EXPECT_GE(inkRows(control(launcher::ids::kNameBase + 1), 3), 14);
  EXPECT_TRUE(saveScreenshot(window, artifactFolder() + "\\launcher-144dpi.png"));
}

}  // namespace
}  // namespace vcit::e2e
