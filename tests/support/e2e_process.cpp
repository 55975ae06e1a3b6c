#ifdef _WIN32

#include "support/e2e_process.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "support/e2e_message_boxes.h"
#include "support/e2e_text.h"
#include "support/e2e_windows.h"

namespace vcit::e2e {

namespace fs = std::filesystem;

namespace {

// The current environment with the extra entries, as a block of NUL-terminated entries.
std::wstring environmentBlock(const std::vector<std::string>& extra) {
  std::wstring block;
  if (wchar_t* current = GetEnvironmentStringsW()) {
    for (const wchar_t* entry = current; *entry; entry += wcslen(entry) + 1) {
      block += entry;
      block += L'\0';
    }
    FreeEnvironmentStringsW(current);
  }
  for (const auto& entry : extra) {
    block += wide(entry);
    block += L'\0';
  }
  block += L'\0';
  return block;
}

}  // namespace

Process::Process(const std::string& exePath, const std::vector<std::string>& environment,
                 const std::string& workingFolder) {
  makeDpiAware();
  // Without extra entries the child simply inherits the environment.
  std::wstring block = environment.empty() ? std::wstring() : environmentBlock(environment);
  const std::wstring exe = wide(exePath);
  const std::wstring folder =
      workingFolder.empty() ? fs::path(exe).parent_path().wstring() : wide(workingFolder);
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_UNICODE_ENVIRONMENT, block.empty() ? nullptr : block.data(),
                      folder.c_str(), &startup, &info_))
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

HWND Process::waitForMainWindow(int timeoutMs, std::string* boxText, int pollMs) {
  HWND found = nullptr;
  waitUntil(
      [&] {
        const auto windows = topLevelWindows(id());
        for (HWND hwnd : windows)
          if (!isMessageBox(hwnd)) return (found = hwnd) != nullptr;
        if (!windows.empty()) {
          if (boxText) *boxText = messageBoxText(windows.front());
          return true;
        }
        return !running();
      },
      timeoutMs, pollMs);
  return found;
}

void Process::terminate() {
  if (running()) TerminateProcess(info_.hProcess, 1);
  // A process killed while it writes large files may take a moment to be gone.
  WaitForSingleObject(info_.hProcess, 10000);
}

void Process::close(int timeoutMs) {
  constexpr int kStepMs = 200;
  while (running()) {
    const HWND window = mainWindowOf(id());
    if (!window) break;
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info_.hProcess, kStepMs) != WAIT_TIMEOUT) return;
    if (timeoutMs <= 0) break;
    timeoutMs -= kStepMs;
  }
  if (running() && WaitForSingleObject(info_.hProcess,
                                       static_cast<DWORD>(std::max(timeoutMs, 0))) == WAIT_TIMEOUT)
    terminate();
}

}  // namespace vcit::e2e

#endif  // _WIN32
