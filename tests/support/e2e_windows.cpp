#ifdef _WIN32

#include "support/e2e_windows.h"

#include <chrono>
#include <thread>

#include "support/e2e_text.h"

namespace vcit::e2e {

namespace {

void sleepMs(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

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

bool isMessageBox(HWND hwnd) {
  return className(hwnd) == "#32770";
}

HWND mainWindowOf(DWORD processId) {
  for (HWND hwnd : topLevelWindows(processId))
    if (!isMessageBox(hwnd)) return hwnd;
  return nullptr;
}

HWND findWindow(DWORD processId, const std::string& caption, const char* windowClass) {
  for (HWND hwnd : topLevelWindows(processId)) {
    if (windowText(hwnd) != caption) continue;
    if (windowClass && className(hwnd) != windowClass) continue;
    return hwnd;
  }
  return nullptr;
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs, int pollMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    sleepMs(pollMs);
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

HWND childById(HWND window, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      window,
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (GetDlgCtrlID(hwnd) != s->id) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace vcit::e2e

#endif  // _WIN32
