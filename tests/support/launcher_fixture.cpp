#include "support/launcher_fixture.h"

namespace vcit::testing {

LauncherTest::LauncherTest() {
  fake.files.addFolder(kProgramDir);
  fake.files.addFolder(kMainDir);
  setBasePath(kGameDir);
}

void LauncherTest::setBasePath(const std::string& value) {
  platform::reg::Key key = 0;
  fake.registry.createKey(platform::reg::kCurrentUser, "Software\\Brackwater\\VCIT", "", 0,
                          platform::reg::kKeyAllAccess, key);
  fake.registry.setValue(key, "basepath", platform::reg::kTypeSz, value + std::string(1, '\0'));
  fake.registry.closeKey(key);
}

void LauncherTest::addPackage(const std::string& name, const std::string& bytes) {
  fake.files.addFile(std::string(kModsDir) + name, bytes);
}

void LauncherTest::addPackages(int count) {
  for (int i = 1; i <= count; ++i) {
    const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
    addPackage("pk" + n + ".pk3", "data of " + n);
  }
}

void LauncherTest::writeStateFile(const std::vector<std::string>& records) {
  std::string bytes;
  for (const auto& r : records) bytes += r;
  fake.files.addFile(kStateFile, bytes);
}

std::string LauncherTest::record(const std::string& name, int mark) const {
  return name + std::string(50 - name.size(), ' ') + std::to_string(mark);
}

frmLauncher& LauncherTest::start() {
  launcher = std::make_unique<frmLauncher>(fake.platform);
  launcher->Form_Load();
  return *launcher;
}

frmLauncher& LauncherTest::rows(const std::vector<std::pair<std::string, int>>& marks) {
  launcher = std::make_unique<frmLauncher>(fake.platform);
  launcher->ModsDir = kModsDir;
  launcher->StateFilePath = kStateFile;
  launcher->GamePath = kGameDir;
  for (const auto& [name, mark] : marks) {
    launcher->txtPk3(launcher->ModCount).setText(name);
    launcher->chkActive(launcher->ModCount).setValue(mark);
    ++launcher->ModCount;
  }
  return *launcher;
}

}  // namespace vcit::testing
