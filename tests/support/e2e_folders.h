#pragma once

// The two folders an end-to-end test sets up: the launcher's program folder and a game
// folder, each a new temporary folder removed with everything in it at the end. Windows only.

#ifdef _WIN32

#include <string>
#include <utility>
#include <vector>

#include "support/e2e_files.h"

namespace vcit::e2e {

// A launcher program folder: the .exe copied in, with a Mods folder and an optional state
// file beside it.
class ProgramFolder {
 public:
  explicit ProgramFolder(const std::string& launcherExePath, const std::string& label = "program");
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string exe() const { return path_ + "\\VCITLauncher.exe"; }
  std::string modsDir() const { return path_ + "\\Mods"; }
  std::string stateFile() const { return path_ + "\\Active.dat"; }

  void addPackage(const std::string& name, const std::string& bytes = "package data");
  // Writes Active.dat from (name, mark) pairs in this order.
  void writeStateFile(const std::vector<std::pair<std::string, int>>& records);
  std::string readStateFile() const { return readFile(stateFile()); }

 private:
  std::string path_;
};

// A game folder with its main folder.
class GameFolder {
 public:
  explicit GameFolder(const std::string& label = "game");
  ~GameFolder();
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string mainDir() const { return path_ + "\\main"; }
  bool hasPackage(const std::string& name) const { return fileExists(mainDir() + "\\" + name); }
  void addToMain(const std::string& name, const std::string& bytes = "old package data");
  // Copies a program in as the game's vcit.exe.
  void installGame(const std::string& exePath);

 private:
  std::string path_;
};

}  // namespace vcit::e2e

#endif  // _WIN32
