#include "win/bench_util.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace vcit::bench {

double threadCpuTime() {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  const auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
}

double now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / frequency;
}

Child::Child(const std::string& exe, const std::string& folder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring command = L"\"" + wide(exe) + L"\"";
  if (!CreateProcessW(wide(exe).c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      wide(folder).c_str(), &startup, &info))
    throw std::runtime_error("cannot start " + exe + ": error " + std::to_string(GetLastError()));
  CloseHandle(info.hThread);
  process_ = Handle(info.hProcess);
  id_ = info.dwProcessId;
}

Child::~Child() {
  kill();
}

bool Child::running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void Child::kill() {
  if (!process_) return;
  if (running()) TerminateProcess(process_.get(), 1);
  WaitForSingleObject(process_.get(), 10000);
}

void Child::close(int timeoutMs) {
  if (!running()) return;
  for (;;) {
    HWND w = visibleWindow(id_, false);
    if (!w) break;
    PostMessageW(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.get(), 200) != WAIT_TIMEOUT) return;
    if (timeoutMs <= 0) break;
    timeoutMs -= 200;
  }
  if (WaitForSingleObject(process_.get(), static_cast<DWORD>(std::max(timeoutMs, 0))) ==
      WAIT_TIMEOUT)
    kill();
}

std::string className(HWND hwnd) {
  wchar_t buf[256];
  const int n = GetClassNameW(hwnd, buf, 256);
  return narrow(std::wstring(buf, static_cast<std::size_t>(std::max(n, 0))));
}

std::string windowText(HWND hwnd) {
  wchar_t buf[1024];
  // WM_GETTEXT works across processes (GetWindowText does not read other processes' controls).
  const LRESULT n = SendMessageW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf));
  return narrow(std::wstring(buf, static_cast<std::size_t>(std::max<LRESULT>(n, 0))));
}

namespace {
struct FindArgs {
  DWORD processId;
  bool messageBox;
  HWND found = nullptr;
};
BOOL CALLBACK findTopLevel(HWND hwnd, LPARAM lp) {
  auto* args = reinterpret_cast<FindArgs*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != args->processId || !IsWindowVisible(hwnd)) return TRUE;
  if ((className(hwnd) == "#32770") != args->messageBox) return TRUE;
  args->found = hwnd;
  return FALSE;
}
struct ChildArgs {
  std::string text;
  std::string windowClass;
  std::vector<HWND> found;
};
BOOL CALLBACK findChild(HWND hwnd, LPARAM lp) {
  auto* args = reinterpret_cast<ChildArgs*>(lp);
  if (!args->text.empty() && windowText(hwnd) == args->text) args->found.push_back(hwnd);
  if (!args->windowClass.empty() && className(hwnd) == args->windowClass)
    args->found.push_back(hwnd);
  return TRUE;
}
}  // namespace

HWND visibleWindow(DWORD processId, bool messageBox) {
  FindArgs args{processId, messageBox};
  EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&args));
  return args.found;
}

HWND waitForMainWindow(DWORD processId, int timeoutMs, std::string* boxText) {
  HWND found = nullptr;
  waitFor(
      [&] {
        found = visibleWindow(processId, false);
        if (found) return true;
        if (HWND box = visibleWindow(processId, true)) {
          if (boxText) *boxText = messageBoxText(box);
          return true;
        }
        return false;
      },
      timeoutMs);
  return found;
}

std::string messageBoxText(HWND box) {
  std::string text;
  for (HWND s : childrenOfClass(box, "Static")) {
    const std::string t = windowText(s);
    if (t.size() > text.size()) text = t;
  }
  return text;
}

void answerOk(HWND box) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
}

HWND childWithText(HWND top, const std::string& text) {
  ChildArgs args{text, {}, {}};
  EnumChildWindows(top, findChild, reinterpret_cast<LPARAM>(&args));
  return args.found.empty() ? nullptr : args.found.front();
}

std::vector<HWND> childrenOfClass(HWND top, const std::string& windowClass) {
  ChildArgs args{{}, windowClass, {}};
  EnumChildWindows(top, findChild, reinterpret_cast<LPARAM>(&args));
  return args.found;
}

void clickButton(HWND button) {
  // BM_CLICK goes through the button's own mouse handling, so its parent gets BN_CLICKED.
  PostMessageW(button, BM_CLICK, 0, 0);
}

void makeFolders(const std::string& path) {
  std::string::size_type at = 0;
  while ((at = path.find('\\', at + 1)) != std::string::npos)
    CreateDirectoryW(wide(path.substr(0, at)).c_str(), nullptr);
  CreateDirectoryW(wide(path).c_str(), nullptr);
}

void removeTree(const std::string& path) {
  for (const auto& name : listFolder(path, "*")) {
    if (name == "." || name == "..") continue;
    const std::string child = path + "\\" + name;
    const DWORD attributes = GetFileAttributesW(wide(child).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      removeTree(child);
    } else {
      SetFileAttributesW(wide(child).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(wide(child).c_str());
    }
  }
  RemoveDirectoryW(wide(path).c_str());
}

void writeFile(const std::string& path, const std::string& bytes) {
  Handle f(CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) throw std::runtime_error("cannot write " + path);
  DWORD written = 0;
  if (!bytes.empty() &&
      !WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
    throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
  Handle f(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) return {};
  // Read until the end, for files whose size is not known beforehand (/proc).
  std::string bytes;
  std::vector<char> buffer(1 << 16);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(f.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) ||
        got == 0)
      break;
    bytes.append(buffer.data(), got);
  }
  return bytes;
}

bool exists(const std::string& path) {
  return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::uint64_t fileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

namespace {
void fillPattern(std::vector<char>& buffer, std::uint64_t offset, std::uint32_t seed) {
  // Eight-byte words from the position and the seed: cheap, and no two files or places alike.
  for (std::size_t i = 0; i + 8 <= buffer.size(); i += 8) {
    std::uint64_t x =
        (offset + i) * 0x9E3779B97F4A7C15ull ^ (static_cast<std::uint64_t>(seed) << 32 | seed);
    x ^= x >> 29;
    std::memcpy(buffer.data() + i, &x, 8);
  }
}
}  // namespace

void writePattern(const std::string& path, std::uint64_t size, std::uint32_t seed) {
  Handle f(CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) throw std::runtime_error("cannot write " + path);
  std::vector<char> buffer(1 << 20);
  for (std::uint64_t at = 0; at < size; at += buffer.size()) {
    fillPattern(buffer, at, seed);
    const DWORD n = static_cast<DWORD>(std::min<std::uint64_t>(buffer.size(), size - at));
    DWORD written = 0;
    if (!WriteFile(f.get(), buffer.data(), n, &written, nullptr) || written != n)
      throw std::runtime_error("cannot write " + path);
  }
  // On the disk before anything is timed, so that its write-back does not compete with it.
  FlushFileBuffers(f.get());
}

void restamp(const std::string& path, std::uint32_t seed) {
  const std::uint64_t size = fileSize(path);
  Handle f(CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) throw std::runtime_error("cannot restamp " + path);
  std::vector<char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(4096, size)));
  for (std::uint64_t at : {std::uint64_t{0}, size - buffer.size()}) {
    fillPattern(buffer, at, seed);
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(at);
    SetFilePointerEx(f.get(), to, nullptr, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(f.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &written, nullptr);
  }
  // Every restamp gets its own last-write time, also within one tick of the file clock.
  static std::uint64_t last = 0;
  FILETIME t;
  GetSystemTimeAsFileTime(&t);
  std::uint64_t v = (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  v = std::max(v, last + 10000000);  // at least a second later than the one before
  last = v;
  t.dwLowDateTime = static_cast<DWORD>(v);
  t.dwHighDateTime = static_cast<DWORD>(v >> 32);
  SetFileTime(f.get(), nullptr, nullptr, &t);
}

std::uint64_t hashFile(const std::string& path) {
  Handle f(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!f) return 0;
  std::uint64_t h = 1469598103934665603ull;
  std::vector<char> buffer(1 << 20);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(f.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) ||
        got == 0)
      break;
    std::size_t i = 0;
    for (; i + 8 <= got; i += 8) {
      std::uint64_t w;
      std::memcpy(&w, buffer.data() + i, 8);
      h = (h ^ w) * 1099511628211ull;
      h ^= h >> 31;
    }
    for (; i < got; ++i) h = (h ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
    h ^= got;
  }
  return h | 1;
}

std::vector<std::string> listFolder(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(wide(folder + "\\" + pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(narrow(data.cFileName));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

std::string stateRecord(const std::string& name, int mark) {
  std::string r = name.substr(0, 50);
  r.resize(50, ' ');
  return r + static_cast<char>('0' + mark);
}

void setBasePath(const std::string& folder) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Brackwater\\VCIT", 0, nullptr, 0,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create the game's registry key");
  const std::wstring value = wide(folder);
  RegSetValueExW(key, L"basepath", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

std::string windowsPath(const std::string& unixPath) {
  if (unixPath.empty() || unixPath[0] != '/') return unixPath;
  std::string p = "Z:" + unixPath;
  std::replace(p.begin(), p.end(), '/', '\\');
  return p;
}

std::optional<std::uint64_t> bytesWrittenByProcess() {
  // Only under Wine on x86-64 Linux: the program runs in a Unix process, whose id the Linux
  // getpid system call gives (Wine leaves direct system calls alone). Its /proc/<pid>/io is
  // read through Z: (the path names the pid, as the file is opened by the wineserver).
  static const long unixPid = []() -> long {
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) return 0;
    long pid = 39;  // SYS_getpid
    asm volatile("syscall" : "+a"(pid) : : "rcx", "r11", "memory");
    return pid;
  }();
  if (unixPid <= 0) return std::nullopt;
  const std::string io = readFile("Z:\\proc\\" + std::to_string(unixPid) + "\\io");
  const auto at = io.find("wchar:");
  if (at == std::string::npos) return std::nullopt;
  return std::strtoull(io.c_str() + at + 6, nullptr, 10);
}

}  // namespace vcit::bench
