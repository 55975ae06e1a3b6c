#ifdef _WIN32

#include "support/e2e_files.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "support/e2e_text.h"
#include "support/e2e_windows.h"

namespace vcit::e2e {

namespace fs = std::filesystem;

namespace {

fs::path pathOf(const std::string& p) {
  return fs::path(wide(p));
}

}  // namespace

std::string windowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string out = "Z:" + path;
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

std::string newTempFolder(const std::string& label) {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const fs::path folder =
      fs::path(temp) / L"vcit-e2e" /
      wide(label + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter));
  fs::remove_all(folder);
  fs::create_directories(folder);
  return narrow(folder.wstring());
}

void createFolders(const std::string& path) {
  fs::create_directories(pathOf(path));
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(pathOf(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
  std::ifstream in(pathOf(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string waitForRenamedFile(const std::string& path, int timeoutMs) {
  std::string text;
  waitUntil([&] { return !(text = readFile(path)).empty(); }, timeoutMs);
  return text;
}

bool fileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(pathOf(path), ec);
}

void copyFile(const std::string& source, const std::string& target) {
  fs::copy_file(pathOf(source), pathOf(target), fs::copy_options::overwrite_existing);
}

void removeTree(const std::string& path) {
  std::error_code ec;
  for (int attempt = 0; attempt < 20; ++attempt) {  // a just-ended program may still hold a file
    fs::remove_all(pathOf(path), ec);
    if (!ec) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

std::string artifactFolder() {
  const fs::path folder = fs::current_path() / L"e2e-artifacts";
  fs::create_directories(folder);
  return narrow(folder.wstring());
}

std::string stateRecord(const std::string& name, int mark) {
  std::string record = name;
  record.resize(50, ' ');
  return record + std::to_string(mark);
}

}  // namespace vcit::e2e

#endif  // _WIN32
