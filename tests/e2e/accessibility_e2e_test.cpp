// What a screen reader in another process reads of the real program's windows under Wine
// through MSAA: a name, a role and a state for every control, each row by its package.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "about/about.h"
#include "about/about_ids.h"
#include "about/about_layout.h"
#include "e2e/launcher_session.h"
#include "launcher/control_ids.h"
#include "launcher/launcher_layout.h"
#include "support/e2e_accessibility.h"
#include "support/e2e_driver.h"
#include "support/zip_builder.h"

namespace vcit::e2e {
namespace {

namespace ids = launcher::ids;

std::string shown(const AccessibleSeen& seen) {
  std::ostringstream out;
  out << "name \"" << seen.name << "\", role " << seen.role << " \"" << seen.roleText
      << "\", state 0x" << std::hex << seen.state << " \"" << seen.stateText << "\", value \""
      << seen.value << "\", shortcut \"" << seen.shortcut << "\"";
  return out.str();
}

bool has(const AccessibleSeen& seen, long state) {
  return (seen.state & state) != 0;
}

class ScreenReader : public LauncherSession {
 protected:
  ScreenReader() : LauncherSession("screen-reader-game") {}

  // Every control of a window (but those of the kinds read already) has a name and a role of
  // its own kind, not the bare "client" that a window without one gets.
  void expectNamedWithRoles(HWND form, const ui::FormLayout& layout,
                            const std::set<ui::ControlKind>& readAlready = {}) {
    for (const auto& c : layout.controls) {
      if (readAlready.count(c.kind)) continue;
      const AccessibleSeen seen = readAccessible(childById(form, c.id));
      SCOPED_TRACE(c.name + "(" + std::to_string(c.index) + "): " + shown(seen));
      EXPECT_EQ(seen.result, S_OK);
      EXPECT_FALSE(seen.name.empty());
      EXPECT_NE(seen.role, ROLE_SYSTEM_CLIENT);
    }
  }

  ComThread com;
};

TEST_F(ScreenReader, ReadsEachRowByItsPackageWithItsMarkAndEachButtonWithItsKey) {
  const std::vector<std::string> packages{"alpha.pk3", "beta.pk3", "gamma.pk3"};
  for (const auto& name : packages) program.addPackage(name);
  program.writeStateFile({{"alpha.pk3", 1}, {"beta.pk3", 0}, {"gamma.pk3", 2}});
  ASSERT_TRUE(start());
  EnableWindow(mark(15), FALSE);  // no row is ever disabled; the reader must still say so

  for (int i = 0; i < 16; ++i) {
    const AccessibleSeen box = readAccessible(mark(i));
    const AccessibleSeen name = readAccessible(control(ids::kNameBase + i));
    SCOPED_TRACE("row " + std::to_string(i) + ": " + shown(box) + " / " + shown(name));
    if (i == 0) std::cout << "row 0: " << shown(box) << "\n       " << shown(name) << "\n";
    ASSERT_EQ(box.result, S_OK);
    const std::string package = i < 3 ? packages[i] : "";
    EXPECT_EQ(box.name, i < 3 ? package : "Row " + std::to_string(i + 1));
    EXPECT_EQ(box.role, ROLE_SYSTEM_CHECKBUTTON);
    EXPECT_EQ(has(box, STATE_SYSTEM_CHECKED), i == 0);
    EXPECT_EQ(has(box, STATE_SYSTEM_MIXED), i == 2);
    EXPECT_EQ(has(box, STATE_SYSTEM_UNAVAILABLE), i == 15);

    EXPECT_EQ(name.name, "Package " + std::to_string(i + 1));
    EXPECT_EQ(name.role, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(name.value, package);
    EXPECT_TRUE(has(name, STATE_SYSTEM_READONLY));
  }

  struct Button {
    int id;
    const char* name;
    const char* shortcut;
    bool available;
  };
  for (const Button& b :
       {Button{ids::kApply, "Apply", "Alt+A", false},
        Button{ids::kLaunch, "Launch VC", "Alt+L", true}, Button{ids::kExit, "Exit", "Alt+X", true},
        Button{ids::kAbout, "About...", "", true}}) {
    const AccessibleSeen seen = readAccessible(control(b.id));
    SCOPED_TRACE(shown(seen));
    EXPECT_EQ(seen.name, b.name);
    EXPECT_EQ(seen.role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(seen.shortcut, b.shortcut);
    EXPECT_EQ(has(seen, STATE_SYSTEM_UNAVAILABLE), !b.available);
    EXPECT_EQ(has(seen, STATE_SYSTEM_FOCUSABLE), b.available);
  }
  expectNamedWithRoles(window, launcher::layout(),
                       {ui::ControlKind::CheckBox, ui::ControlKind::TextBox});

  // The reader follows the window: a click marks row 1 and makes Apply available.
  press(mark(1));
  EXPECT_TRUE(has(readAccessible(mark(1)), STATE_SYSTEM_CHECKED));
  EXPECT_FALSE(has(readAccessible(control(ids::kApply)), STATE_SYSTEM_UNAVAILABLE));
}

// Apply copies 1 GB while a reader polls the progress bar: each read is answered within a
// second and the value read rises.
TEST_F(ScreenReader, ReadsTheProgressBarRisingWhileApplyCopies) {
  constexpr int kPackages = 4;
  const auto name = [](int row) { return "big" + std::to_string(row) + ".pk3"; };
  {
    const std::string bytes(std::size_t{256} << 20, 'p');
    for (int row = 0; row < kPackages; ++row) program.addPackage(name(row), bytes);
  }
  ASSERT_TRUE(start());
  for (int row = 0; row < kPackages; ++row) press(mark(row));
  const HWND bar = control(ids::kProgress);
  PostMessageW(control(ids::kApply), BM_CLICK, 0, 0);
  ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(bar) != FALSE; }, 20000));

  using Clock = std::chrono::steady_clock;
  std::vector<int> values;
  long long longestMs = 0;
  const AccessibleClient reader(bar);
  while (IsWindowVisible(bar)) {
    const Clock::time_point asked = Clock::now();
    const AccessibleSeen seen = reader.read();
    const auto waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked).count();
    longestMs = std::max<long long>(longestMs, waited);
    EXPECT_LT(waited, 1000) << "read " << values.size() << " waited " << waited << " ms";
    EXPECT_EQ(seen.role, ROLE_SYSTEM_PROGRESSBAR);
    if (IsWindowVisible(bar)) values.push_back(std::atoi(seen.value.c_str()));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  std::cout << "longest read " << longestMs << " ms; values read:";
  for (const int v : values) std::cout << " " << v;
  std::cout << "\n";
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
  values.erase(std::unique(values.begin(), values.end()), values.end());
  EXPECT_GE(values.size(), 3u) << "the value did not rise while Apply copied";

  for (int row = 0; row < kPackages; ++row)
    EXPECT_TRUE(waitUntil([&] { return game.hasPackage(name(row)); }, 30000)) << name(row);
  EXPECT_TRUE(noMessageBox());
}

TEST_F(ScreenReader, ReadsTheAboutWindowAndIsToldWhenItsControlsAreGone) {
  ASSERT_TRUE(start());
  press(control(ids::kAbout));
  HWND about = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (about = findWindow(process->id(), "About RUZiza")); }));
  settle(about);

  const HWND ok = childById(about, about::ids::kOK);
  AccessibleClient okObject(ok);
  const AccessibleSeen okSeen = okObject.read();
  std::cout << "About OK: " << shown(okSeen) << "\n";
  SCOPED_TRACE(shown(okSeen));
  EXPECT_EQ(okSeen.name, "OK");
  EXPECT_EQ(okSeen.role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(okSeen.shortcut, "") << "OK has no access key";
  EXPECT_TRUE(has(okSeen, STATE_SYSTEM_DEFAULT));
  EXPECT_TRUE(has(okSeen, STATE_SYSTEM_FOCUSED));

  const AccessibleSeen sysInfo = readAccessible(childById(about, about::ids::kSysInfo));
  EXPECT_EQ(sysInfo.name, "System Info...");
  EXPECT_EQ(sysInfo.role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(sysInfo.shortcut, "Alt+S");
  struct Label {
    int id;
    std::string text;
  };
  for (const Label& l : {Label{about::ids::kTitle, "Valor Crest Mod Launcher"},
                         Label{about::ids::kVersion, "Version 1.0.0"},
                         Label{about::ids::kDescription, about::kDescription},
                         Label{about::ids::kDisclaimer, about::kDisclaimer}}) {
    const AccessibleSeen seen = readAccessible(childById(about, l.id));
    SCOPED_TRACE(shown(seen));
    EXPECT_EQ(seen.name, l.text);
    EXPECT_EQ(seen.role, ROLE_SYSTEM_STATICTEXT);
  }
  EXPECT_EQ(readAccessible(childById(about, about::ids::kIcon)).role, ROLE_SYSTEM_GRAPHIC);
  expectNamedWithRoles(about, about::layout());

  // OK closes the window while the reader still holds its button: the button answers that it
  // is gone, and the program goes on.
  press(ok);
  ASSERT_TRUE(waitUntil([&] { return !IsWindow(ok); }));
  const HRESULT gone = okObject.nameResult();
  std::cout << "About OK once closed: 0x" << std::hex << gone << std::dec << "\n";
  EXPECT_TRUE(FAILED(gone));
  EXPECT_TRUE(process->running());
  EXPECT_EQ(readAccessible(control(ids::kExit)).name, "Exit");
}

TEST_F(ScreenReader, ReadsWhatARowsPackageSharesAsItsDescriptionWithTheMarksOfNow) {
  program.addPackage("maps.pk3", testing::zipOfNames({"maps/dm1.bsp", "textures/wall.tga"}));
  program.addPackage("other.pk3", testing::zipOfNames({"sound/x.wav"}));
  program.addPackage("walls.pk3", testing::zipOfNames({"Textures\\Wall.TGA"}));
  program.writeStateFile({{"walls.pk3", 1}});
  ASSERT_TRUE(start());

  const AccessibleClient maps(control(ids::kNameBase));
  const std::string description = maps.description();
  std::cout << "row 0 description: " << description << "\n";
  EXPECT_EQ(description,
            "Shares 1 file with 1 other package:\n"
            "walls.pk3 (marked): 1 file\n"
            "Shared:\ntextures/wall.tga");
  const AccessibleSeen seen = maps.read();  // the name and value stay the row's
  EXPECT_EQ(seen.name, "Package 1");
  EXPECT_EQ(seen.value, "maps.pk3");
  EXPECT_EQ(AccessibleClient(control(ids::kNameBase + 1)).description(), "");

  press(mark(2));
  EXPECT_EQ(maps.description(),
            "Shares 1 file with 1 other package:\n"
            "walls.pk3 (not marked): 1 file\n"
            "Shared:\ntextures/wall.tga");
}

}  // namespace
}  // namespace vcit::e2e
