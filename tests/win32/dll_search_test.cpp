// Which oleacc.dll a program gets when a file of that name lies in its own folder.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/e2e_driver.h"

namespace vcit::e2e {
namespace {

// The exit code of the probe beside the planted DLL (planting/dll_search_probe.cpp).
std::optional<DWORD> probeResult(const std::vector<std::string>& environment) {
  Process probe(windowsPath(VCIT_DLL_SEARCH_PROBE), environment);
  return probe.waitForExit(30000);
}

TEST(DllSearch, WithTheLaunchersPolicyAPlantedDllIsNeitherLoadedNorRun) {
  // Wine, unlike Windows, takes its own oleacc in place of a file of that name found in the
  // program's folder (keeping the file's path): this override makes it run the file it finds.
  RegistryValue wineOrder(HKEY_CURRENT_USER,
                          "Software\\Wine\\AppDefaults\\dll_search_probe.exe\\DllOverrides",
                          "oleacc");
  wineOrder.setString("native,builtin");
  EXPECT_EQ(probeResult({}), std::optional<DWORD>(0)) << "1: the planted DllMain ran";
  EXPECT_EQ(probeResult({"VCIT_DLL_POLICY=windows7"}), std::optional<DWORD>(0))
      << "without SetDefaultDllDirectories";
  // Without the policy the planted copy loads and runs: the plant is in place.
  EXPECT_EQ(probeResult({"VCIT_DLL_POLICY=off"}), std::optional<DWORD>(1));
}

}  // namespace
}  // namespace vcit::e2e
