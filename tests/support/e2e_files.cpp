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

#include "platform/win32/scoped_win.h"
#include "support/e2e_text.h"
#include "support/e2e_windows.h"

namespace vcit::e2e {

namespace fs = std::filesystem;

namespace {

fs::path pathOf(const std::string& p) {
  return fs::path(wide(p));
}

void clearReadOnly(const fs::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
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

std::uint64_t fileSize(const std::string& path) {
  std::error_code ec;
  const auto size = fs::file_size(pathOf(path), ec);
  return ec ? 0 : size;
}

std::vector<std::string> listFolder(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  const platform::win32::UniqueFindHandle find(
      FindFirstFileW(wide(folder + "\\" + pattern).c_str(), &data));
  if (!find) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(narrow(name));
  } while (FindNextFileW(find.get(), &data));
  std::sort(names.begin(), names.end());
  return names;
}

void copyFile(const std::string& source, const std::string& target) {
  fs::copy_file(pathOf(source), pathOf(target), fs::copy_options::overwrite_existing);
}

void removeTree(const std::string& path) {
  const fs::path root = pathOf(path);
  std::error_code ec;
  // A read-only file cannot be deleted until its attribute is cleared.
  clearReadOnly(root);
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
    clearReadOnly(it->path());
  for (int attempt = 0; attempt < 20; ++attempt) {  // a just-ended program may still hold a file
    fs::remove_all(root, ec);
    if (!ec) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

void emptyFolder(const std::string& path) {
  for (const auto& name : listFolder(path, "*")) removeTree(path + "\\" + name);
}

std::string artifactFolder() {
  const fs::path folder = fs::current_path() / L"e2e-artifacts";
  fs::create_directories(folder);
  return narrow(folder.wstring());
}

std::string stateRecord(const std::string& name, int mark) {
  constexpr std::size_t kNameLength = 50;
  if (name.size() > kNameLength)
    throw std::invalid_argument("no state record holds a name of " + std::to_string(name.size()) +
                                " bytes: " + name);
  return name + std::string(kNameLength - name.size(), ' ') + std::to_string(mark);
}

}  // namespace vcit::e2e

#endif  // _WIN32
