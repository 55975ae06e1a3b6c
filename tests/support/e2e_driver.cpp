#ifdef _WIN32

#include "support/e2e_driver.h"

#include "platform/win32/text_conversion.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace vcit::e2e {

namespace fs = std::filesystem;

namespace {

std::wstring wide(const std::string& text) {
  return platform::win32::widen(text);
}
std::string narrow(const std::wstring& text) {
  return platform::win32::narrow(text);
}

fs::path pathOf(const std::string& p) {
  return fs::path(wide(p));
}

void sleepMs(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

// --- Paths and files -----------------------------------------------------------------------

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
    sleepMs(100);
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

ProgramFolder::ProgramFolder(const std::string& launcherExePath, const std::string& label)
    : path_(newTempFolder(label)) {
  copyFile(launcherExePath, exe());
  fs::create_directories(pathOf(modsDir()));
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
  fs::create_directories(pathOf(mainDir()));
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

// --- Registry --------------------------------------------------------------------------------

RegistryValue::RegistryValue(HKEY root, std::string key, std::string name)
    : root_(root), key_(std::move(key)), name_(std::move(name)) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return;
  keyExisted_ = true;
  DWORD size = 0;
  if (RegQueryValueExA(handle, name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
    data_.resize(size);
    RegQueryValueExA(handle, name_.c_str(), nullptr, &type_, reinterpret_cast<BYTE*>(data_.data()),
                     &size);
    data_.resize(size);
    existed_ = true;
  }
  RegCloseKey(handle);
}

RegistryValue::~RegistryValue() {
  if (existed_) {
    setRaw(type_, data_);
    return;
  }
  remove();
  if (!keyExisted_) RegDeleteKeyA(root_, key_.c_str());  // only when it is empty again
}

void RegistryValue::setRaw(DWORD type, const std::string& bytes) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create registry key " + key_);
  RegSetValueExA(handle, name_.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
  RegCloseKey(handle);
}

void RegistryValue::setString(const std::string& text) {
  setRaw(REG_SZ, text + std::string(1, '\0'));
}

void RegistryValue::setDword(std::uint32_t number) {
  setRaw(REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number));
}

void RegistryValue::remove() {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) return;
  RegDeleteValueA(handle, name_.c_str());
  RegCloseKey(handle);
}

// --- Windows of another process --------------------------------------------------------------

void makeDpiAware() {
  static const bool done = [] {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    return true;
  }();
  (void)done;
}

std::string windowText(HWND hwnd) {
  // WM_GETTEXTLENGTH and WM_GETTEXT reach controls of another process, whose text (an edit
  // control's) GetWindowText would not see.
  const auto length = static_cast<std::size_t>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  const LRESULT got =
      SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got));
  return narrow(text);
}

std::string className(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return narrow(name);
}

std::vector<HWND> topLevelWindows(DWORD processId) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{processId, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == s->pid && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND findWindow(DWORD processId, const std::string& caption, const char* windowClass) {
  for (HWND hwnd : topLevelWindows(processId)) {
    if (windowText(hwnd) != caption) continue;
    if (windowClass && className(hwnd) != windowClass) continue;
    return hwnd;
  }
  return nullptr;
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    sleepMs(20);
  }
}

void settle(HWND hwnd) {
  DWORD_PTR result = 0;
  for (int i = 0; i < 3; ++i) {
    SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
    sleepMs(30);
  }
}

RECT rectInParent(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT clientOnScreen(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int pixelsToTwips(int pixels, unsigned dpi) {
  return MulDiv(pixels, 1440, static_cast<int>(dpi));
}

unsigned windowDpi(HWND hwnd) {
  makeDpiAware();
  const UINT dpi = GetDpiForWindow(hwnd);
  return dpi ? dpi : 96;
}

HWND focusOf(HWND anyWindowOfThread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(anyWindowOfThread, nullptr);
  if (!GetGUIThreadInfo(thread, &info)) return nullptr;
  return info.hwndFocus;
}

std::optional<MessageBoxSeen> waitForMessageBox(DWORD processId, int timeoutMs) {
  MessageBoxSeen seen;
  const bool found = waitUntil(
      [&] {
        for (HWND hwnd : topLevelWindows(processId)) {
          if (className(hwnd) != "#32770") continue;
          seen.hwnd = hwnd;
          seen.title = windowText(hwnd);
          // The text of a message box is its static control 0xFFFF.
          if (HWND text = GetDlgItem(hwnd, 0xFFFF)) seen.text = windowText(text);
          return true;
        }
        return false;
      },
      timeoutMs);
  if (!found) return std::nullopt;
  return seen;
}

void answer(const MessageBoxSeen& box, int buttonId) {
  if (HWND button = GetDlgItem(box.hwnd, buttonId)) {
    SendMessageW(button, BM_CLICK, 0, 0);
  } else {
    PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
  }
  waitUntil([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); }, 5000);
}

// --- Input -----------------------------------------------------------------------------------

void activate(HWND anyWindow) {
  const HWND root = GetAncestor(anyWindow, GA_ROOT);
  SetForegroundWindow(root);
  waitUntil([&] { return GetForegroundWindow() == root; }, 2000);
}

void click(HWND control) {
  makeDpiAware();
  activate(control);
  RECT r;
  GetWindowRect(control, &r);
  const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  std::array<INPUT, 3> inputs{};
  for (auto& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, width - 1);
    input.mi.dy = MulDiv(y, 65535, height - 1);
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  settle(control);
}

void pressKey(WORD virtualKey, bool shift, bool control, bool alt) {
  std::vector<INPUT> inputs;
  auto key = [&](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (shift) key(VK_SHIFT, false);
  if (control) key(VK_CONTROL, false);
  if (alt) key(VK_MENU, false);
  key(virtualKey, false);
  key(virtualKey, true);
  if (alt) key(VK_MENU, true);
  if (control) key(VK_CONTROL, true);
  if (shift) key(VK_SHIFT, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (HWND foreground = GetForegroundWindow()) settle(foreground);
}

void typeText(const std::string& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : wide(text)) {
    for (bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = c;
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(input);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (HWND foreground = GetForegroundWindow()) settle(foreground);
}

// --- Screenshots -----------------------------------------------------------------------------

namespace {

std::uint32_t crc32(const std::string& bytes, std::uint32_t crc = 0xFFFFFFFFu) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return crc;
}

void putBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void chunk(std::string& png, const char* type, const std::string& data) {
  putBigEndian(png, static_cast<std::uint32_t>(data.size()));
  const std::string typed = std::string(type, 4) + data;
  png += typed;
  putBigEndian(png, crc32(typed) ^ 0xFFFFFFFFu);
}

// An RGB image as PNG, its data in stored (uncompressed) deflate blocks.
std::string encodePng(int width, int height, const std::string& rgbRows) {
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  putBigEndian(header, static_cast<std::uint32_t>(width));
  putBigEndian(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);
  chunk(png, "IHDR", header);

  std::string zlib = "\x78\x01";
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : rgbRows) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  for (std::size_t at = 0; at < rgbRows.size() || at == 0; at += 65535) {
    const std::size_t length = std::min<std::size_t>(65535, rgbRows.size() - at);
    const bool last = at + length >= rgbRows.size();
    zlib += static_cast<char>(last ? 1 : 0);
    zlib += static_cast<char>(length & 0xFF);
    zlib += static_cast<char>(length >> 8);
    zlib += static_cast<char>(~length & 0xFF);
    zlib += static_cast<char>((~length >> 8) & 0xFF);
    zlib.append(rgbRows, at, length);
    if (last) break;
  }
  putBigEndian(zlib, (b << 16) | a);
  chunk(png, "IDAT", zlib);
  chunk(png, "IEND", "");
  return png;
}

}  // namespace

namespace {

// The screen's pixels in the rectangle, 0x00RRGGBB, row by row from the top.
std::vector<std::uint32_t> capture(const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  std::vector<std::uint32_t> out;
  if (width <= 0 || height <= 0) return out;

  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  out.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return out;
}

}  // namespace

COLORREF pixelAt(HWND window, int x, int y) {
  makeDpiAware();
  POINT p{x, y};
  ClientToScreen(window, &p);
  const std::vector<std::uint32_t> pixels = capture(RECT{p.x, p.y, p.x + 1, p.y + 1});
  if (pixels.empty()) return CLR_INVALID;
  const std::uint32_t rgb = pixels[0];
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

int inkRows(HWND control, int inset) {
  makeDpiAware();
  RECT r;
  GetWindowRect(control, &r);
  InflateRect(&r, -inset, -inset);
  const std::vector<std::uint32_t> pixels = capture(r);
  const int width = r.right - r.left;
  int rows = 0;
  for (int y = 0; width > 0 && y < r.bottom - r.top; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
      if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 96) {
        ++rows;
        break;
      }
    }
  }
  return rows;
}

bool saveScreenshot(HWND window, const std::string& pngPath) {
  makeDpiAware();
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (window) GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const std::vector<std::uint32_t> pixels = capture(r);
  if (pixels.empty()) return false;

  std::string rows;
  rows.reserve(static_cast<std::size_t>(height) * (static_cast<std::size_t>(width) * 3 + 1));
  for (int y = 0; y < height; ++y) {
    rows += '\0';  // no filter
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
      rows += static_cast<char>((p >> 16) & 0xFF);
      rows += static_cast<char>((p >> 8) & 0xFF);
      rows += static_cast<char>(p & 0xFF);
    }
  }

  writeFile(pngPath, encodePng(width, height, rows));
  return true;
}

// --- The program -----------------------------------------------------------------------------

Process::Process(const std::string& exePath, const std::vector<std::string>& environment) {
  makeDpiAware();
  // The current environment with the extra entries, as a block of NUL-terminated entries.
  std::wstring block;
  if (wchar_t* current = GetEnvironmentStringsW()) {
    for (const wchar_t* entry = current; *entry; entry += wcslen(entry) + 1) {
      block += entry;
      block += L'\0';
    }
    FreeEnvironmentStringsW(current);
  }
  for (const auto& entry : environment) {
    block += wide(entry);
    block += L'\0';
  }
  block += L'\0';

  const std::wstring exe = wide(exePath);
  const std::wstring folder = fs::path(exe).parent_path().wstring();
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_UNICODE_ENVIRONMENT, block.data(), folder.c_str(), &startup, &info_))
    throw std::runtime_error("cannot start " + exePath + " (error " +
                             std::to_string(GetLastError()) + ")");
}

Process::~Process() {
  if (running()) terminate();
  if (info_.hThread) CloseHandle(info_.hThread);
  if (info_.hProcess) CloseHandle(info_.hProcess);
}

bool Process::running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::waitForExit(int timeoutMs) {
  if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

HWND Process::waitForWindow(const std::string& caption, int timeoutMs) {
  HWND found = nullptr;
  waitUntil([&] { return (found = findWindow(id(), caption)) != nullptr || !running(); },
            timeoutMs);
  if (found) settle(found);
  return found;
}

void Process::terminate() {
  TerminateProcess(info_.hProcess, 1);
  WaitForSingleObject(info_.hProcess, 5000);
}

}  // namespace vcit::e2e

#endif  // _WIN32
