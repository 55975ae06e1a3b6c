// What the program's .exe carries besides its code: version information, the manifest that
// makes it a modern, DPI-aware Windows program, and its icons.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "meta/resource_ids.h"
#include "meta/version.h"
#include "support/e2e_driver.h"

namespace vcit::e2e {
namespace {

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryExA(launcherExe().c_str(), nullptr,
                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
  }
  void TearDown() override {
    if (module) FreeLibrary(module);
  }
  std::string resource(LPCSTR type, LPCSTR name) const {
    const HRSRC found = FindResourceA(module, name, type);
    if (!found) return {};
    const HGLOBAL loaded = LoadResource(module, found);
    return std::string(static_cast<const char*>(LockResource(loaded)),
                       SizeofResource(module, found));
  }
  // A string of the version information's first translation, read with version.dll.
  std::string versionString(const char* name) const {
    const HMODULE version = LoadLibraryA("version.dll");
    using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    const auto size = reinterpret_cast<SizeFn>(
        reinterpret_cast<void*>(GetProcAddress(version, "GetFileVersionInfoSizeA")));
    const auto info = reinterpret_cast<InfoFn>(
        reinterpret_cast<void*>(GetProcAddress(version, "GetFileVersionInfoA")));
    const auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(version, "VerQueryValueA")));
    if (!size || !info || !query) return "(version.dll missing)";
    const std::string exe = launcherExe();
    std::string block(size(exe.c_str(), nullptr), '\0');
    if (block.empty() || !info(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
      return {};
    void* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!query(block.data(), path.c_str(), &value, &length) || !value) return {};
    return static_cast<const char*>(value);
  }

  HMODULE module = nullptr;
};

TEST_F(ProgramResources, VersionInformationNamesTheProduct) {
  EXPECT_EQ(versionString("ProductName"), "Valor Crest Mod Launcher");
  EXPECT_EQ(versionString("ProductVersion"), "1.0.0");
  EXPECT_EQ(versionString("FileVersion"), "1.0.0");
  EXPECT_EQ(versionString("FileDescription"), "Mod Launcher for Valor Crest: Iron Tide");
}

TEST_F(ProgramResources, ManifestAsksForVisualStylesPerMonitorDpiLongPathsAndNoElevation) {
  const std::string manifest = resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
  ASSERT_FALSE(manifest.empty());
  // The program's own identity carries the project's version.
  const auto own = manifest.find("name=\"Brackwater.VCIT.ModLauncher\"");
  ASSERT_NE(own, std::string::npos);
  const std::string identity = manifest.substr(own, manifest.find("/>", own) - own);
  EXPECT_NE(identity.find("version=\"" VCIT_VERSION_TEXT ".0\""), std::string::npos) << identity;
  EXPECT_NE(manifest.find("<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                          "WindowsSettings\">true</longPathAware>"),
            std::string::npos);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
  EXPECT_NE(manifest.find("asInvoker"), std::string::npos);
}

TEST_F(ProgramResources, IconsOfItsOwnWithA16ColourPictureForTheAboutWindow) {
  EXPECT_FALSE(
      resource(MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, MAKEINTRESOURCEA(VCIT_IDI_APP)).empty());
  // The About picture: one 32 x 32 image in 16 colours (the group's first entry).
  const std::string group =
      resource(MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, MAKEINTRESOURCEA(VCIT_IDI_ABOUT));
  ASSERT_GE(group.size(), 6u + 14u);
  EXPECT_EQ(static_cast<unsigned char>(group[4]), 1) << "one image";
  EXPECT_EQ(static_cast<unsigned char>(group[6]), 32) << "width";
  EXPECT_EQ(static_cast<unsigned char>(group[7]), 32) << "height";
  EXPECT_EQ(static_cast<unsigned char>(group[8]), 16) << "colours";
}

}  // namespace
}  // namespace vcit::e2e
