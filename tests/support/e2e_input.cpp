#ifdef _WIN32

#include "support/e2e_input.h"

#include <array>
#include <vector>

#include "support/e2e_text.h"
#include "support/e2e_windows.h"

namespace vcit::e2e {

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

void clickButton(HWND button) {
  PostMessageW(button, BM_CLICK, 0, 0);
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

}  // namespace vcit::e2e

#endif  // _WIN32
