// Apply in the real launcher under Wine: marks clicked in the window, the Apply button, and
// what the game's main folder and the state file hold afterwards.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "e2e/launcher_session.h"

namespace vcit::e2e {
namespace {

using ::testing::IsEmpty;

class ApplyInTheWindow : public LauncherSession {};

TEST_F(ApplyInTheWindow, MakesMainAgreeWithTheMarksAndRewritesTheStateFile) {
  program.addPackage("alpha.pk3", "alpha data");
  program.addPackage("bravo.pk3", std::string(3 << 20, 'b'));  // several copy chunks
  program.addPackage("charlie.pk3", "charlie data");
  program.writeStateFile({{"alpha.pk3", 1}, {"charlie.pk3", 1}});
  game.addToMain("charlie.pk3", "old charlie");
  game.addToMain("other.pk3", "not the launcher's");
  game.addToMain("gone.pk3.vcit-partial", "left by a killed run");  // of no row
  ASSERT_TRUE(start());
  EXPECT_EQ(markState(0), BST_CHECKED);
  EXPECT_EQ(markState(1), BST_UNCHECKED);
  EXPECT_EQ(markState(2), BST_CHECKED);
  EXPECT_FALSE(applyEnabled());

  press(mark(1));  // bravo on
  press(mark(2));  // charlie off
  EXPECT_TRUE(applyEnabled());
  pressApply();

  EXPECT_TRUE(noMessageBox());
  EXPECT_FALSE(applyEnabled());
  EXPECT_EQ(readFile(game.mainDir() + "\\alpha.pk3"), "alpha data");
  EXPECT_EQ(readFile(game.mainDir() + "\\bravo.pk3"), std::string(3 << 20, 'b'));
  EXPECT_FALSE(game.hasPackage("charlie.pk3"));
  EXPECT_EQ(readFile(game.mainDir() + "\\other.pk3"), "not the launcher's");
  EXPECT_THAT(strayFilesInMain(), IsEmpty());
  EXPECT_EQ(program.readStateFile(), stateRecord("alpha.pk3", 1) + stateRecord("bravo.pk3", 1) +
                                         stateRecord("charlie.pk3", 0));
}

TEST_F(ApplyInTheWindow, StateFileNamesAreCodePageBytesOrMarkedUtf8AndMarksSurviveARestart) {
  const std::string cyrillic = "\xD0\xBF\xD0\xB0\xD0\xBA\xD0\xB5\xD1\x82.pk3";  // "пакет.pk3"
  program.addPackage("caf\xC3\xA9.pk3", "accented");                            // "café.pk3"
  program.addPackage(cyrillic, "cyrillic");
  ASSERT_TRUE(start());
  press(mark(0));
  press(mark(1));
  pressApply();
  EXPECT_TRUE(noMessageBox());
  EXPECT_EQ(readFile(game.mainDir() + "\\caf\xC3\xA9.pk3"), "accented");
  const std::string state = program.readStateFile();
  ASSERT_EQ(state.size(), 102u);
  EXPECT_EQ(state.substr(0, 9), "caf\xE9.pk3 ") << "one byte in cp1252";
  // Not in cp1252: a "?", which no name in the code page holds, then the name in UTF-8.
  EXPECT_EQ(state.substr(51), "?" + cyrillic + std::string(50 - 1 - cyrillic.size(), ' ') + "1");

  // The next run finds both records; its Apply keeps both packages.
  process->terminate();
  ASSERT_TRUE(start());
  EXPECT_EQ(markState(0), BST_CHECKED);
  EXPECT_EQ(markState(1), BST_CHECKED);
  press(mark(0));
  pressApply();
  EXPECT_TRUE(noMessageBox());
  EXPECT_FALSE(game.hasPackage("caf\xC3\xA9.pk3"));
  EXPECT_EQ(readFile(game.mainDir() + "\\" + cyrillic), "cyrillic");
}

TEST_F(ApplyInTheWindow, AReadOnlyTargetIsReportedAndApplyStaysAvailable) {
  program.addPackage("a.pk3", "new a");
  program.addPackage("b.pk3", "new b");
  game.addToMain("a.pk3", "old a");
  const std::string target = game.mainDir() + "\\a.pk3";
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(start());
  press(mark(0));
  press(mark(1));
  pressApply();
  const MessageBoxSeen box = messageBox();
  EXPECT_EQ(box.title, "RUZiza");
  EXPECT_EQ(box.text, "75:Path/File access error");
  answer(box, IDOK);
  EXPECT_TRUE(applyEnabled());
  EXPECT_EQ(readFile(target), "old a");
  EXPECT_FALSE(game.hasPackage("b.pk3"));
  EXPECT_THAT(strayFilesInMain(), IsEmpty());

  // The file is writable again: the next Apply finishes.
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  pressApply();
  EXPECT_TRUE(noMessageBox());
  EXPECT_FALSE(applyEnabled());
  EXPECT_EQ(readFile(target), "new a");
  EXPECT_EQ(readFile(game.mainDir() + "\\b.pk3"), "new b");
}

// A launcher unpacked where it may read but not write (a read-only Active.dat stands for it):
// start-up shows the stored marks without a message, and Apply reports 75 before any package.
TEST_F(ApplyInTheWindow, AStateFileThatMayOnlyBeReadShowsItsMarksAndApplyTouchesNoPackage) {
  program.addPackage("a.pk3", "new a");
  program.addPackage("b.pk3", "new b");
  program.writeStateFile({{"a.pk3", 1}, {"b.pk3", 0}});
  game.addToMain("b.pk3", "old b");
  SetFileAttributesA(program.stateFile().c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(start());
  EXPECT_TRUE(noMessageBox());
  EXPECT_EQ(markState(0), BST_CHECKED);
  EXPECT_FALSE(applyEnabled());

  press(mark(1));
  pressApply();
  const MessageBoxSeen box = messageBox();
  EXPECT_EQ(box.text, "75:Path/File access error");
  answer(box, IDOK);
  EXPECT_TRUE(applyEnabled());
  EXPECT_FALSE(game.hasPackage("a.pk3"));
  EXPECT_EQ(readFile(game.mainDir() + "\\b.pk3"), "old b");
  EXPECT_EQ(program.readStateFile(), stateRecord("a.pk3", 1) + stateRecord("b.pk3", 0));
}

}  // namespace
}  // namespace vcit::e2e
