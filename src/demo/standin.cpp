// A stand-in for a program the launcher starts (the game's vcit.exe, the system-information
// tool): it shows which packages lie in the "main" folder beside it. With the environment
// variable VCIT_STANDIN_MARKER set it instead writes to that file what it saw (its own path
// and the packages, one a line) and ends at once, for tests.

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/win32/text_conversion.h"

namespace {

std::wstring ownPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

std::wstring folderOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::vector<std::wstring> packages(const std::wstring& mainFolder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((mainFolder + L"\\*.pk3").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
  });
  return names;
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  const std::wstring self = ownPath();
  const std::wstring mainFolder = folderOf(self) + L"\\main";
  const std::vector<std::wstring> found = packages(mainFolder);

  wchar_t marker[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"VCIT_STANDIN_MARKER", marker, MAX_PATH) > 0) {
    std::string report = "started " + vcit::platform::win32::narrow(self) + "\r\n";
    for (const auto& name : found) report += vcit::platform::win32::narrow(name) + "\r\n";
    // Written beside it and renamed, so that a test waiting for the file never reads it empty
    // or half written.
    const std::wstring partial = std::wstring(marker) + L".part";
    const HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    DWORD written = 0;
    const BOOL wrote =
        WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    CloseHandle(file);
    if (!wrote || !MoveFileExW(partial.c_str(), marker, MOVEFILE_REPLACE_EXISTING)) return 2;
    return 0;
  }

  std::wstring text = L"Stand-in for " + self.substr(self.find_last_of(L"\\/") + 1) +
                      L"\r\n\r\nPackages in " + mainFolder + L":\r\n";
  for (const auto& name : found) text += L"    " + name + L"\r\n";
  if (found.empty()) text += L"    (none)\r\n";

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"VCITStandIn";
  RegisterClassW(&windowClass);
  const HWND window =
      CreateWindowExW(0, L"VCITStandIn", L"Valor Crest: Iron Tide (stand-in)", WS_OVERLAPPEDWINDOW,
                      CW_USEDEFAULT, CW_USEDEFAULT, 480, 320, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  const HWND label = CreateWindowExW(
      0, L"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | WS_VSCROLL, 8,
      8, 448, 264, window, nullptr, instance, nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  ShowWindow(window, showCommand);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
