#include "platform/win32/win32_keyboard.h"

#include <atomic>
#include <map>
#include <optional>

#include "core/runtime_error.h"
#include "platform/win32/win32_waiting.h"

namespace vcit::platform {
namespace {

bool isExtendedKey(WORD vk) {
  switch (vk) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_NUMLOCK:
    case VK_CANCEL:
    case VK_SNAPSHOT:
      return true;
    default:
      return false;
  }
}

class InputAttachment {
 public:
  InputAttachment(DWORD from, DWORD to)
      : from_(from),
        to_(to),
        attached_(from != to && to != 0 && AttachThreadInput(from, to, TRUE)) {}
  InputAttachment(const InputAttachment&) = delete;
  InputAttachment& operator=(const InputAttachment&) = delete;
  ~InputAttachment() {
    if (attached_) AttachThreadInput(from_, to_, FALSE);
  }
  bool attached() const { return attached_; }

 private:
  DWORD from_, to_;
  bool attached_;
};

// Counts the keyboard messages a thread of this process takes from its queue (WH_KEYBOARD
// sees each one as it is removed). One watch at a time: a nested sendKeys falls back to the
// key state.
class KeyWatch {
 public:
  KeyWatch(DWORD thread, std::size_t expected) {
    if (busy_.exchange(true)) return;
    seen_ = 0;
    expected_ = expected;
    hook_ = SetWindowsHookExW(WH_KEYBOARD, &KeyWatch::proc, nullptr, thread);
    if (!hook_) busy_ = false;
  }
  KeyWatch(const KeyWatch&) = delete;
  KeyWatch& operator=(const KeyWatch&) = delete;
  ~KeyWatch() {
    if (!hook_) return;
    UnhookWindowsHookEx(hook_);
    busy_ = false;
  }
  bool active() const { return hook_ != nullptr; }
  bool done() const { return seen_ >= expected_; }

 private:
  static LRESULT CALLBACK proc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) ++seen_;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline std::atomic<bool> busy_{false};
  static inline std::atomic<std::size_t> seen_{0};
  static inline std::atomic<std::size_t> expected_{0};
  HHOOK hook_ = nullptr;
};

// Whether the keys of the strokes, in the key state of the calling thread, are each released
// with the toggle bit flipped once per press. With the input of another thread attached (on
// Windows) that state follows the other thread's reading of its keystrokes.
class KeyStateCheck {
 public:
  explicit KeyStateCheck(const std::vector<Win32Keyboard::Stroke>& strokes) {
    for (const auto& s : strokes)
      if (s.vk != 0 && !s.up) ++presses_[s.vk];
    for (const auto& [vk, count] : presses_) toggleBefore_[vk] = GetKeyState(vk) & 1;
  }
  bool processed() const {
    for (const auto& [vk, count] : presses_) {
      const SHORT state = GetKeyState(vk);
      if (state & 0x8000) return false;
      if ((state & 1) != (toggleBefore_.at(vk) ^ (count & 1))) return false;
    }
    return true;
  }

 private:
  std::map<WORD, int> presses_;
  std::map<WORD, SHORT> toggleBefore_;
};

std::vector<INPUT> toInputs(const std::vector<Win32Keyboard::Stroke>& strokes) {
  std::vector<INPUT> inputs;
  inputs.reserve(strokes.size());
  for (const auto& s : strokes) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    if (s.vk != 0) {
      input.ki.wVk = s.vk;
      input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(s.vk, MAPVK_VK_TO_VSC));
      input.ki.dwFlags =
          (s.up ? KEYEVENTF_KEYUP : 0u) | (isExtendedKey(s.vk) ? KEYEVENTF_EXTENDEDKEY : 0u);
    } else {
      input.ki.wScan = static_cast<WORD>(s.unit);
      input.ki.dwFlags = KEYEVENTF_UNICODE | (s.up ? KEYEVENTF_KEYUP : 0u);
    }
    inputs.push_back(input);
  }
  return inputs;
}

}  // namespace

void Win32Keyboard::sendKeys(const std::string& keys) {
  const std::vector<Stroke> strokes = parse(keys);
  if (strokes.empty()) return;

  const HWND foreground = GetForegroundWindow();
  const DWORD self = GetCurrentThreadId();
  DWORD process = 0;
  const DWORD target = foreground ? GetWindowThreadProcessId(foreground, &process) : 0;

  // A thread of this process (Wine's Run dialog, or this thread itself) is watched by a
  // keyboard hook, which counts the keystrokes the thread takes from its queue. A thread of
  // another process (the shell's own Run dialog on Windows) is attached to, so that its key
  // state, as it reads its keystrokes, is seen here.
  std::optional<KeyWatch> watch;
  if (target != 0 && process == GetCurrentProcessId()) watch.emplace(target, strokes.size());
  std::optional<InputAttachment> attachment;
  if (target != 0 && target != self && !(watch && watch->active()))
    attachment.emplace(self, target);
  const KeyStateCheck keyState(strokes);

  std::vector<INPUT> inputs = toInputs(strokes);
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent != inputs.size()) raise(err::kPermissionDenied);  // input blocked

  const bool ownThread = target == 0 || target == self || !(attachment && attachment->attached());
  const auto processed = [&] {
    if (foreground && !IsWindow(foreground)) return true;  // Enter closed the dialog
    if (watch && watch->active()) return watch->done();
    if (attachment && attachment->attached()) return keyState.processed();
    return target == 0;  // nothing has the focus: the keystrokes go nowhere
  };
  const ULONGLONG deadline = GetTickCount64() + processedTimeoutMs;
  for (;;) {
    if (ownThread) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
          PostQuitMessage(static_cast<int>(message.wParam));
          return;
        }
        dispatchMessage(message, events ? events->filter : MessageFilter());
      }
    }
    if (processed() || GetTickCount64() >= deadline) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, 5, QS_ALLINPUT, 0);
    win32::processSentMessages();
  }
}

}  // namespace vcit::platform
