#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "launcher/launcher.h"
#include "platform/fake/fake_platform.h"

namespace vcit::testing {

// A launcher on the fake platform: program folder C:\VCIT (with Mods\ and Active.dat), the
// game at C:\Games\VCIT with its main folder, and the registry value that names it.
class LauncherTest : public ::testing::Test {
 protected:
  static constexpr const char* kProgramDir = "C:\\VCIT";
  static constexpr const char* kModsDir = "C:\\VCIT\\Mods\\";
  static constexpr const char* kStateFile = "C:\\VCIT\\Active.dat";
  static constexpr const char* kGameDir = "C:\\Games\\VCIT";
  static constexpr const char* kMainDir = "C:\\Games\\VCIT\\main\\";

  LauncherTest();

  // Sets HKCU\Software\Brackwater\VCIT "basepath" (REG_SZ).
  void setBasePath(const std::string& value);
  void addPackage(const std::string& name, const std::string& bytes = "package data");
  void addPackages(int count);  // pkNN.pk3, NN from 01
  // The state file made of these records.
  void writeStateFile(const std::vector<std::string>& records);
  // A record as a reader of the file sees it: the name's bytes as given (50 at most), spaces
  // to 50 bytes, then the mark digit.
  std::string record(const std::string& name, int mark) const;

  // Creates the launcher and runs its start-up.
  frmLauncher& start();
  // Creates the launcher with these rows, as start-up would leave them, without a package
  // folder listing.
  frmLauncher& rows(const std::vector<std::pair<std::string, int>>& marks);
  std::vector<std::string> messages() const { return fake.messages.texts(); }

  platform::FakePlatform fake;
  std::unique_ptr<frmLauncher> launcher;
};

}  // namespace vcit::testing
