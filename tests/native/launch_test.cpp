// Launch and Exit on the fake platform: the offer to apply, the order of the platform calls
// that start the game through the Run dialog, failures, and the end of the program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/launcher_fixture.h"

namespace vcit::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr const char* kQuestion = "You have not applied your changes, apply now?";

class LaunchTest : public LauncherTest {
 protected:
  // Start-up with two packages, the first one marked in the state file.
  frmLauncher& started() {
    addPackage("a.pk3", "a data");
    addPackage("b.pk3", "b data");
    writeStateFile({record("a.pk3", 1), record("b.pk3", 0)});
    frmLauncher& l = start();
    fake.log.calls.clear();
    return l;
  }
  static std::vector<std::string> gameStart(const std::string& path) {
    return {"clipboard " + path, "shell created", "FileRun",       "events", "keys ^v", "events",
            "keys {enter}",      "events",        "shell released"};
  }
  std::vector<std::string> calls() const { return fake.log.calls; }
  std::string gameExe() const { return std::string(kGameDir) + "\\vcit.exe"; }
};

TEST_F(LaunchTest, WithNothingPendingItStartsTheGameWithoutAsking) {
  frmLauncher& l = started();
  ASSERT_TRUE(l.Applied);
  l.cmdLaunch.click();
  EXPECT_THAT(calls(), ElementsAreArray(gameStart(gameExe())));
  EXPECT_EQ(fake.clipboard.text(), "C:\\Games\\VCIT\\vcit.exe");
  EXPECT_EQ(fake.shell.alive(), 0);
  EXPECT_TRUE(l.Applied);
}

TEST_F(LaunchTest, AnsweringNoAppliesNothingAndStartsNothing) {
  frmLauncher& l = started();
  l.chkActive(1).userClick();
  fake.messages.queueAnswer(platform::mb::kAnswerNo);
  l.cmdLaunch.click();
  EXPECT_THAT(calls(), ElementsAre(std::string("message ") + kQuestion));
  ASSERT_EQ(fake.messages.shown().size(), 1u);
  EXPECT_EQ(fake.messages.shown()[0].title, "RUZiza");
  EXPECT_EQ(fake.messages.shown()[0].style, platform::mb::kYesNo | platform::mb::kIconQuestion);
  EXPECT_FALSE(l.Applied);
  EXPECT_TRUE(l.cmdApply.enabled());
  EXPECT_EQ(fake.files.contents(kStateFile), record("a.pk3", 1) + record("b.pk3", 0));
  EXPECT_FALSE(fake.files.fileExists(std::string(kMainDir) + "b.pk3"));
  EXPECT_EQ(fake.clipboard.text(), "");
}

TEST_F(LaunchTest, AnsweringYesWhenApplyFailsShowsOnlyApplysReport) {
  frmLauncher& l = started();
  l.chkActive(1).userClick();
  fake.files.addFile(std::string(kMainDir) + "b.pk3", "old");
  fake.files.find(std::string(kMainDir) + "b.pk3")->readOnly = true;
  fake.messages.queueAnswer(platform::mb::kAnswerYes);
  l.cmdLaunch.click();
  // Apply's progress ends before its report.
  EXPECT_THAT(calls(),
              ElementsAre(std::string("message ") + kQuestion, "progress begin 12", "progress 6",
                          "progress end", "message 75:Path/File access error"));
  EXPECT_FALSE(l.Applied);
  EXPECT_TRUE(l.cmdApply.enabled());
  EXPECT_EQ(fake.shell.alive(), 0);
}

TEST_F(LaunchTest, AnsweringYesAppliesThenStartsTheGame) {
  frmLauncher& l = started();
  l.chkActive(1).userClick();
  fake.messages.queueAnswer(platform::mb::kAnswerYes);
  l.cmdLaunch.click();
  std::vector<std::string> expected{std::string("message ") + kQuestion, "progress begin 12",
                                    "progress 6", "progress 12", "progress end"};
  for (const auto& c : gameStart(gameExe())) expected.push_back(c);
  EXPECT_THAT(calls(), ElementsAreArray(expected));
  EXPECT_TRUE(l.Applied);
  EXPECT_FALSE(l.cmdApply.enabled());
  EXPECT_EQ(fake.files.contents(std::string(kMainDir) + "b.pk3"), "b data");
  EXPECT_EQ(fake.files.contents(kStateFile), record("a.pk3", 1) + record("b.pk3", 1));
}

TEST_F(LaunchTest, FailuresAfterTheOfferAreReportedAndReleaseTheShellObject) {
  struct Case {
    const char* what;
    void (*arrange)(platform::FakePlatform&);
    std::vector<std::string> calls;
  };
  const std::string exe = "C:\\Games\\VCIT\\vcit.exe";
  const std::vector<Case> cases{
      {"clipboard",
       [](platform::FakePlatform& f) { f.clipboard.failNext = true; },
       {"message 521:Can't open Clipboard"}},
      {"shell object",
       [](platform::FakePlatform& f) { f.shell.failCreate = true; },
       {"clipboard " + exe, "message 429:ActiveX component can't create object"}},
      {"FileRun",
       [](platform::FakePlatform& f) { f.shell.failFileRun = true; },
       {"clipboard " + exe, "shell created", "shell released", "message 440:Automation error"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake.shell.failCreate = fake.shell.failFileRun = false;
    frmLauncher& l = started();
    c.arrange(fake);
    l.cmdLaunch.click();
    EXPECT_THAT(calls(), ElementsAreArray(c.calls));
    EXPECT_EQ(fake.shell.alive(), 0);
    EXPECT_EQ(fake.messages.shown().back().style, platform::mb::kOk | platform::mb::kIconCritical);
    EXPECT_TRUE(l.Applied);
  }
}

TEST_F(LaunchTest, AGamePathWithSpacesIsPastedWithoutQuotes) {
  setBasePath("C:\\Program Files\\Valor Crest");
  frmLauncher& l = started();
  l.cmdLaunch.click();
  EXPECT_THAT(calls(), ElementsAreArray(gameStart("C:\\Program Files\\Valor Crest\\vcit.exe")));
}

TEST_F(LaunchTest, WithoutAGamePathTheRunDialogGetsTheBareExecutableName) {
  setBasePath("   ");
  frmLauncher& l = started();
  ASSERT_EQ(l.GamePath, "");
  ASSERT_TRUE(l.Applied);  // start-up completed after "Valor Crest path not found"
  l.cmdLaunch.click();
  EXPECT_THAT(calls(), ElementsAreArray(gameStart("\\vcit.exe")));

  // With changes pending, Apply refuses to work without a game folder, so nothing starts.
  l.chkActive(0).userClick();
  fake.log.calls.clear();
  fake.messages.queueAnswer(platform::mb::kAnswerYes);
  l.cmdLaunch.click();
  EXPECT_THAT(calls(),
              ElementsAre(std::string("message ") + kQuestion, "message 76:Path not found"));
  EXPECT_FALSE(l.Applied);
}

TEST_F(LaunchTest, EventsThatRunDuringTheLaunchTakeEffect) {
  frmLauncher& l = started();
  fake.events.pending = [&] { l.chkActive(1).userClick(); };
  l.cmdLaunch.click();
  EXPECT_THAT(calls(), ElementsAreArray(gameStart(gameExe())));
  EXPECT_FALSE(l.Applied) << "a click handled inside the launch marks changes pending";
  EXPECT_TRUE(l.cmdApply.enabled());
}

TEST_F(LaunchTest, ExitClosesTheWindowThenEndsTheProgram) {
  frmLauncher& l = started();
  l.closeWindow = [&] { fake.log.add("close window"); };
  EXPECT_THROW(l.cmdExit.click(), platform::ProgramEnded);
  EXPECT_THAT(calls(), ElementsAre("close window"));
  EXPECT_THAT(messages(), IsEmpty());
}

TEST_F(LaunchTest, ExitCatchesNothingOfItsOwn) {
  frmLauncher& l = started();
  l.closeWindow = [] { throw RuntimeError(err::kInternalError); };
  EXPECT_THROW(l.cmdExit.click(), RuntimeError);
  EXPECT_THAT(messages(), IsEmpty());
}

}  // namespace
}  // namespace vcit::testing
