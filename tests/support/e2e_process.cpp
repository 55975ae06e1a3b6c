#ifdef _WIN32

#include "support/e2e_process.h"

#include <filesystem>
#include <stdexcept>

#include "support/e2e_text.h"
#include "support/e2e_windows.h"

namespace vcit::e2e {

namespace fs = std::filesystem;

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
