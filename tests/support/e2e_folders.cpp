#ifdef _WIN32

#include "support/e2e_folders.h"

namespace vcit::e2e {

ProgramFolder::ProgramFolder(const std::string& launcherExePath, const std::string& label)
    : path_(newTempFolder(label)) {
  copyFile(launcherExePath, exe());
  createFolders(modsDir());
}

ProgramFolder::~ProgramFolder() {
  removeTree(path_);
}

void ProgramFolder::addPackage(const std::string& name, const std::string& bytes) {
  writeFile(modsDir() + "\\" + name, bytes);
}

void ProgramFolder::writeStateFile(const std::vector<std::pair<std::string, int>>& records) {
  std::string bytes;
  for (const auto& [name, mark] : records) bytes += stateRecord(name, mark);
  writeFile(stateFile(), bytes);
}

GameFolder::GameFolder(const std::string& label) : path_(newTempFolder(label)) {
  createFolders(mainDir());
}

GameFolder::~GameFolder() {
  removeTree(path_);
}

void GameFolder::addToMain(const std::string& name, const std::string& bytes) {
  writeFile(mainDir() + "\\" + name, bytes);
}

void GameFolder::installGame(const std::string& exePath) {
  copyFile(exePath, path_ + "\\vcit.exe");
}

}  // namespace vcit::e2e

#endif  // _WIN32
