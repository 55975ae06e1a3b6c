#include <gtest/gtest.h>

#include "support/launcher_fixture.h"
#include "support/zip_builder.h"

namespace vcit {
namespace {

using testing::zipOfNames;

class SharedFilesTest : public testing::LauncherTest {};

TEST_F(SharedFilesTest, RowsTellWhatTheyShareWithTheMarksAsTheyAreAndReadPackagesOnlyWhenAsked) {
  addPackage("a_maps.pk3", zipOfNames({"maps/", "maps/dm1.bsp", "Textures/Wall.tga",
                                       "textures/floor.tga", "sound/a.wav"}));
  addPackage("b_textures.pk3", zipOfNames({"textures\\wall.TGA", "TEXTURES/FLOOR.TGA",
                                           "textures/floor.tga", "textures/sky.tga"}));
  addPackage("c_fix.pk3", zipOfNames({"maps/DM1.bsp", "textures/sky.tga"}));
  addPackage("d_alone.pk3", zipOfNames({"sound/a2.wav"}));
  addPackage("e_broken.pk3", "not a zip at all");
  writeStateFile({record("b_textures.pk3", 1)});
  frmLauncher& l = start();
  EXPECT_EQ(fake.files.filesOpenedToRead(), 0);  // start-up reads no package

  EXPECT_EQ(l.SharedFiles(0),
            "Shares 3 files with 2 other packages:\n"
            "b_textures.pk3 (marked): 2 files\n"
            "c_fix.pk3 (not marked): 1 file\n"
            "Shared:\nmaps/dm1.bsp\ntextures/floor.tga\nTextures/Wall.tga");
  EXPECT_EQ(fake.files.filesOpenedToRead(), 5);
  EXPECT_EQ(l.SharedFiles(1),
            "Shares 3 files with 2 other packages:\n"
            "a_maps.pk3 (not marked): 2 files\n"
            "c_fix.pk3 (not marked): 1 file\n"
            "Shared:\ntextures/floor.tga\ntextures/sky.tga\nTextures/Wall.tga");
  l.chkActive(2).userClick();
  l.chkActive(1).userClick();
  EXPECT_EQ(l.SharedFiles(0),
            "Shares 3 files with 2 other packages:\n"
            "b_textures.pk3 (not marked): 2 files\n"
            "c_fix.pk3 (marked): 1 file\n"
            "Shared:\nmaps/dm1.bsp\ntextures/floor.tga\nTextures/Wall.tga");
  EXPECT_EQ(l.SharedFiles(3), "");
  EXPECT_EQ(l.SharedFiles(4),
            "This package is not a readable zip archive: the game may not load it.");
  EXPECT_EQ(l.SharedFiles(5), "");               // an empty row
  EXPECT_EQ(fake.files.filesOpenedToRead(), 5);  // read once

  // Packages are never written: Apply copies them as they are.
  l.Apply();
  EXPECT_EQ(fake.files.contents(std::string(kMainDir) + "c_fix.pk3"),
            zipOfNames({"maps/DM1.bsp", "textures/sky.tga"}));
}

TEST_F(SharedFilesTest, ManySharedFilesNameTheFirstByNameAndAPackageHeldByAnotherProgramIsTold) {
  std::vector<std::string> names;
  for (char c = 'z'; c >= 'a'; --c) names.push_back(std::string("gfx/") + c + ".tga");
  addPackage("one.pk3", zipOfNames(names));
  addPackage("two.pk3", zipOfNames(names));
  addPackage("three.pk3", zipOfNames({"gfx/a.tga"}));
  fake.files.find(std::string(kModsDir) + "three.pk3")->locked = true;
  frmLauncher& l = start();
  EXPECT_EQ(l.SharedFiles(0),
            "Shares 26 files with 1 other package:\n"
            "two.pk3 (not marked): 26 files\n"
            "Among them:\ngfx/a.tga\ngfx/b.tga\ngfx/c.tga");
  EXPECT_EQ(l.SharedFiles(1),  // rows by name: one, three, two
            "The launcher could not read this package to compare it with the others.");
}

}  // namespace
}  // namespace vcit
