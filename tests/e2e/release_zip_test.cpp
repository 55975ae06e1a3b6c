// The release zip as a player gets it: unpacked into an empty folder (by the release_zip_unpack
// step that runs before these tests), the program started from there finds the game through the
// registry, lists the packages put into its Mods folder and applies a mark to the game.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "launcher/control_ids.h"
#include "support/e2e_driver.h"

namespace vcit::e2e {
namespace {

namespace fs = std::filesystem;
namespace ids = launcher::ids;

// The names in a folder, sorted, each folder's with a trailing backslash.
std::vector<std::string> entriesOf(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(fs::path(folder)))
    names.push_back(entry.path().filename().string() + (entry.is_directory() ? "\\" : ""));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ReleaseZip, TheUnpackedProgramFindsTheGameListsItsModsAndApplies) {
  makeDpiAware();
  const std::string folder = windowsPath(VCIT_RELEASE_DIR);
  ASSERT_EQ(entriesOf(folder),
            (std::vector<std::string>{"LICENSE.txt", "Mods\\", "README.txt", "VCITLauncher.exe"}));
  ASSERT_TRUE(entriesOf(folder + "\\Mods").empty()) << "the zip's Mods folder is empty";

  GameFolder game{"release-game"};
  game.installGame(windowsPath(VCIT_STANDIN_GAME));
  BasePath basePath{game.path()};
  const std::vector<std::string> packages = {"crest_banners.pk3", "hd_textures.pk3",
                                             "iron_tide_maps.pk3"};
  for (const auto& name : packages) writeFile(folder + "\\Mods\\" + name, "package " + name);

  Process process(folder + "\\VCITLauncher.exe");
  const HWND window = process.waitForWindow("VC:IT Mod Launcher");
  ASSERT_NE(window, nullptr) << "the launcher window did not appear";
  std::vector<std::string> rows;
  for (int i = 0; i < 16; ++i) rows.push_back(windowText(childById(window, ids::kNameBase + i)));
  std::vector<std::string> expected = packages;
  expected.resize(16);
  EXPECT_EQ(rows, expected);
  EXPECT_TRUE(saveScreenshot(window, artifactFolder() + "\\release-zip.png"));

  // The game's folder came from the registry: Apply copies the marked package into its main.
  click(childById(window, ids::kMarkBase + 1));
  click(childById(window, ids::kApply));
  settle(window);
  EXPECT_TRUE(waitUntil([&] { return game.hasPackage("hd_textures.pk3"); }));
  EXPECT_EQ(readFile(game.mainDir() + "\\hd_textures.pk3"), "package hd_textures.pk3");
  EXPECT_FALSE(game.hasPackage("crest_banners.pk3"));
}

// Older Notepads show a file with bare line feeds as one line.
TEST(ReleaseZip, TheReadmeHasWindowsLineEndings) {
  const std::string readme = readFile(windowsPath(VCIT_RELEASE_DIR) + "\\README.txt");
  ASSERT_GT(readme.size(), 2u);
  EXPECT_EQ(readme.substr(readme.size() - 2), "\r\n") << "its last line ends too";
  std::size_t lines = 0;
  std::size_t bareEnds = 0;
  for (std::size_t i = 0; i < readme.size(); ++i) {
    const bool lineFeed = readme[i] == '\n';
    const bool afterCr = i > 0 && readme[i - 1] == '\r';
    if (lineFeed) ++lines;
    if (lineFeed != afterCr) ++bareEnds;  // a line feed without a CR, or a CR without one
  }
  EXPECT_EQ(bareEnds, 0u);
  EXPECT_GT(lines, 10u);
}

}  // namespace
}  // namespace vcit::e2e
