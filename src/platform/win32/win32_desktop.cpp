#include "platform/win32/win32_desktop.h"

#include <shellapi.h>
#include <shldisp.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <future>
#include <map>
#include <optional>
#include <thread>
#include <utility>

#include "core/runtime_error.h"
#include "core/text.h"
#include "platform/win32/win32_ansi.h"
#include "platform/win32/win32_handles.h"

namespace vcit::platform {
namespace {

using win32::widen;

constexpr int kCantEmptyClipboard = 520;
constexpr int kCantOpenClipboard = 521;
constexpr int kCantCreateObject = 429;
constexpr const char* kNoRunDialog = "Automation error: the Run dialog did not open";

// ---- Waiting without stalling other threads ------------------------------------------------

// Runs the messages other threads send to this thread's windows (activation changes while a
// dialog of another thread comes up), leaving posted messages and input queued.
void processSentMessages() {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

void pause(DWORD milliseconds) {
  MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_SENDMESSAGE, 0);
  processSentMessages();
}

bool isDialogClass(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return std::wcscmp(name, L"#32770") == 0;
}

bool hasKeyboardFocus(HWND window) {
  if (!window || GetForegroundWindow() != window) return false;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  return GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr;
}

// The visible dialog window of a thread.
HWND dialogOfThread(DWORD thread) {
  HWND found = nullptr;
  EnumThreadWindows(
      thread,
      [](HWND window, LPARAM result) -> BOOL {
        if (IsWindowVisible(window) && isDialogClass(window)) {
          *reinterpret_cast<HWND*>(result) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// A dialog that came to the foreground after `before` and has a focused control.
HWND newFocusedDialog(HWND before) {
  const HWND window = GetForegroundWindow();
  if (!window || window == before || !isDialogClass(window)) return nullptr;
  return hasKeyboardFocus(window) ? window : nullptr;
}

// ---- COM -----------------------------------------------------------------------------------

class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  void** out() { return reinterpret_cast<void**>(&p_); }

 private:
  T* p_ = nullptr;
};

// Shell, {13709620-C279-11CE-A49E-444553540000}, and its IShellDispatch interface.
constexpr CLSID kShellClass = {
    0x13709620, 0xC279, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr IID kShellDispatchInterface = {
    0xD8F015C0, 0xC278, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// The COM apartment lives as long as the object; the interface is released before it.
class Win32ShellObject : public ShellObject {
 public:
  explicit Win32ShellObject(Win32Shell& shell) : shell_(shell) {
    const HRESULT hr =
        CoCreateInstance(kShellClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                         kShellDispatchInterface, dispatch_.out());
    if (FAILED(hr)) throw RuntimeError(kCantCreateObject, "ActiveX component can't create object");
  }

  void FileRun() override {
    const HWND before = GetForegroundWindow();
    const HRESULT hr = shell_.fileRun ? shell_.fileRun(*dispatch_.get()) : dispatch_->FileRun();
    shell_.lastFileRunResult = hr;
    shell_.lastUsedRunFileDlg = false;
    shell_.lastDialog = nullptr;
    HWND dialog = nullptr;
    // The shell's own dialog is opened only when the shell could not open its Run dialog: a
    // slow shell whose dialog comes late must not leave two of them.
    if (SUCCEEDED(hr)) {
      dialog = waitForAnyDialog(before, shell_.focusTimeoutMs);
    } else if (const DWORD thread = shell_.openRunFileDialog()) {
      shell_.lastUsedRunFileDlg = true;
      dialog = waitForDialogOf(thread, shell_.focusTimeoutMs);
    }
    shell_.lastDialog = dialog;
    // The launch types Ctrl+V and Enter next, into whatever has the focus: without a Run
    // dialog there, that would paste and "send" into an unrelated window (or press the
    // launcher's own focused button), so the launch stops here with an error instead.
    if (!dialog) throw RuntimeError(err::kAutomationError, kNoRunDialog);
  }

 private:
  static HWND waitForAnyDialog(HWND before, DWORD timeout) {
    const ULONGLONG deadline = GetTickCount64() + timeout;
    for (;;) {
      if (const HWND dialog = newFocusedDialog(before)) return dialog;
      if (GetTickCount64() >= deadline) return nullptr;
      pause(10);
    }
  }

  // Our own Run dialog: once it is up it is brought to the foreground (this process has the
  // foreground, so it may hand it on) until its edit field has the focus.
  static HWND waitForDialogOf(DWORD thread, DWORD timeout) {
    const ULONGLONG deadline = GetTickCount64() + timeout;
    ULONGLONG nextRaise = 0;
    for (;;) {
      const HWND dialog = dialogOfThread(thread);
      if (dialog && hasKeyboardFocus(dialog)) return dialog;
      if (GetTickCount64() >= deadline) return nullptr;
      if (dialog && GetTickCount64() >= nextRaise) {
        SetForegroundWindow(dialog);
        nextRaise = GetTickCount64() + 200;
      }
      pause(10);
    }
  }

  ComScope com_;
  ComPtr<IShellDispatch> dispatch_;
  Win32Shell& shell_;
};

// ---- Keystrokes ----------------------------------------------------------------------------

struct NamedKey {
  const char* name;
  WORD vk;
};

constexpr NamedKey kNamedKeys[] = {
    {"enter", VK_RETURN},
    {"tab", VK_TAB},
    {"esc", VK_ESCAPE},
    {"escape", VK_ESCAPE},
    {"bs", VK_BACK},
    {"bksp", VK_BACK},
    {"backspace", VK_BACK},
    {"del", VK_DELETE},
    {"delete", VK_DELETE},
    {"ins", VK_INSERT},
    {"insert", VK_INSERT},
    {"home", VK_HOME},
    {"end", VK_END},
    {"left", VK_LEFT},
    {"right", VK_RIGHT},
    {"up", VK_UP},
    {"down", VK_DOWN},
    {"pgup", VK_PRIOR},
    {"pgdn", VK_NEXT},
    {"break", VK_CANCEL},
    {"capslock", VK_CAPITAL},
    {"numlock", VK_NUMLOCK},
    {"scrolllock", VK_SCROLL},
    {"prtsc", VK_SNAPSHOT},
    {"help", VK_HELP},
    {"f1", VK_F1},
    {"f2", VK_F2},
    {"f3", VK_F3},
    {"f4", VK_F4},
    {"f5", VK_F5},
    {"f6", VK_F6},
    {"f7", VK_F7},
    {"f8", VK_F8},
    {"f9", VK_F9},
    {"f10", VK_F10},
    {"f11", VK_F11},
    {"f12", VK_F12},
};

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

enum Modifier : unsigned { kShift = 1, kCtrl = 2, kAlt = 4 };

class KeyParser {
 public:
  explicit KeyParser(const std::wstring& keys) : keys_(keys) {}

  std::vector<Win32Keyboard::Stroke> run() {
    while (at_ < keys_.size()) item(0);
    return std::move(strokes_);
  }

 private:
  [[noreturn]] static void malformed() { raise(err::kInvalidProcedureCall); }

  static void modifiers(std::vector<Win32Keyboard::Stroke>& out, unsigned mods, bool up) {
    const WORD order[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    for (int k = 0; k < 3; ++k) {
      const int i = up ? 2 - k : k;
      if (mods & (1u << i)) out.push_back({order[i], 0, up});
    }
  }

  void key(WORD vk, unsigned mods, unsigned held) {
    const unsigned extra = mods & ~held;
    modifiers(strokes_, extra, false);
    strokes_.push_back({vk, 0, false});
    strokes_.push_back({vk, 0, true});
    modifiers(strokes_, extra, true);
  }

  void character(wchar_t c, unsigned held) {
    const SHORT scan = VkKeyScanW(c);
    if (scan == -1) {
      strokes_.push_back({0, c, false});
      strokes_.push_back({0, c, true});
      return;
    }
    const unsigned shiftState = static_cast<unsigned>(scan >> 8) & 0xFF;
    unsigned mods = 0;
    if (shiftState & 1) mods |= kShift;
    if (shiftState & 2) mods |= kCtrl;
    if (shiftState & 4) mods |= kAlt;
    key(static_cast<WORD>(scan & 0xFF), mods, held);
  }

  // One key, group or modified item, with the modifiers already held around it.
  void item(unsigned held) {
    const wchar_t c = keys_[at_++];
    switch (c) {
      case L'+':
      case L'^':
      case L'%': {
        const unsigned mod = c == L'+' ? kShift : c == L'^' ? kCtrl : kAlt;
        if (at_ >= keys_.size()) malformed();
        const unsigned extra = mod & ~held;
        modifiers(strokes_, extra, false);
        item(held | mod);
        modifiers(strokes_, extra, true);
        return;
      }
      case L'(': {
        while (at_ < keys_.size() && keys_[at_] != L')') item(held);
        if (at_ >= keys_.size()) malformed();
        ++at_;
        return;
      }
      case L')':
      case L'}':
        malformed();
      case L'~':
        key(VK_RETURN, held, held);
        return;
      case L'{':
        braced(held);
        return;
      default:
        character(c, held);
    }
  }

  // "{name}", "{name count}" or "{c}" for a character that has a meaning of its own.
  void braced(unsigned held) {
    // "{}}" names the closing brace itself.
    std::size_t close = keys_.find(L'}', at_ + 1);
    if (close == std::wstring::npos) malformed();
    std::wstring inside = keys_.substr(at_, close - at_);
    at_ = close + 1;
    int count = 1;
    if (const auto space = inside.find(L' '); space != std::wstring::npos && space > 0) {
      const std::wstring digits = inside.substr(space + 1);
      if (digits.empty() || digits.size() > 4 ||
          !std::all_of(digits.begin(), digits.end(),
                       [](wchar_t d) { return d >= L'0' && d <= L'9'; }))
        malformed();
      count = std::stoi(digits);
      inside.resize(space);
    }
    if (inside.empty()) malformed();
    for (int n = 0; n < count; ++n) {
      if (inside.size() == 1) {
        character(inside[0], held);
        continue;
      }
      const std::string name = text::foldCase(win32::narrow(inside));
      const auto* named = std::find_if(std::begin(kNamedKeys), std::end(kNamedKeys),
                                       [&](const NamedKey& k) { return name == k.name; });
      if (named == std::end(kNamedKeys)) malformed();
      key(named->vk, held, held);
    }
  }

  const std::wstring& keys_;
  std::size_t at_ = 0;
  std::vector<Win32Keyboard::Stroke> strokes_;
};

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

// ---- Clipboard -----------------------------------------------------------------------------

class ClipboardSession {
 public:
  ClipboardSession() {
    // Another program (or the X clipboard bridge) may hold it for a moment.
    for (int attempt = 0; attempt < 25; ++attempt) {
      if (OpenClipboard(nullptr)) return;
      Sleep(20);
    }
    throw RuntimeError(kCantOpenClipboard, "Can't open Clipboard");
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  ~ClipboardSession() { CloseClipboard(); }
};

class GlobalMemory {
 public:
  explicit GlobalMemory(const void* data, std::size_t size)
      : memory_(GlobalAlloc(GMEM_MOVEABLE, size)) {
    if (!memory_) raise(err::kOutOfMemory);
    void* target = GlobalLock(memory_);
    if (!target) {
      GlobalFree(memory_);
      raise(err::kOutOfMemory);
    }
    std::memcpy(target, data, size);
    GlobalUnlock(memory_);
  }
  GlobalMemory(const GlobalMemory&) = delete;
  GlobalMemory& operator=(const GlobalMemory&) = delete;
  ~GlobalMemory() {
    if (memory_) GlobalFree(memory_);
  }
  // Hands the memory to the clipboard, which owns it from then on.
  bool placeOnClipboard(UINT format) {
    if (!SetClipboardData(format, memory_)) return false;
    memory_ = nullptr;
    return true;
  }

 private:
  HGLOBAL memory_;
};

}  // namespace

// ---- Message boxes -------------------------------------------------------------------------

int Win32MessageBoxes::show(const std::string& text, const std::string& title, unsigned style) {
  const std::string ansiText = ansi::fromUtf8(text);
  const std::string ansiTitle = ansi::fromUtf8(title);
  return MessageBoxA(GetActiveWindow(), ansiText.c_str(), ansiTitle.c_str(), style);
}

// ---- Clipboard -----------------------------------------------------------------------------

void Win32Clipboard::setText(const std::string& text) {
  const std::wstring wide = widen(text);
  const std::string ansiText = ansi::fromUtf8(text);
  GlobalMemory unicode(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  GlobalMemory bytes(ansiText.c_str(), ansiText.size() + 1);
  ClipboardSession session;
  if (!EmptyClipboard()) throw RuntimeError(kCantEmptyClipboard, "Can't empty Clipboard");
  if (!unicode.placeOnClipboard(CF_UNICODETEXT) || !bytes.placeOnClipboard(CF_TEXT))
    throw RuntimeError(kCantOpenClipboard, "Can't open Clipboard");
}

std::string Win32Clipboard::text() {
  ClipboardSession session;
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return {};
  const auto* chars = static_cast<const wchar_t*>(GlobalLock(data));
  if (!chars) return {};
  const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
  std::size_t length = 0;
  while (length < capacity && chars[length] != L'\0') ++length;
  std::string result = win32::narrow(chars, length);
  GlobalUnlock(data);
  return result;
}

// ---- Shell ---------------------------------------------------------------------------------

struct Win32Shell::DialogThread {
  std::thread thread;
  DWORD id = 0;
  std::atomic<bool> done{false};
};

Win32Shell::Win32Shell() = default;

Win32Shell::~Win32Shell() {
  closeDialogs();
}

std::unique_ptr<ShellObject> Win32Shell::create() {
  reapFinished();
  return std::make_unique<Win32ShellObject>(*this);
}

DWORD Win32Shell::openRunFileDialog() {
  // RunFileDlg(owner, icon, directory, title, description, flags), exported by ordinal only.
  using RunFileDlgFn = void(WINAPI*)(HWND, HICON, LPCWSTR, LPCWSTR, LPCWSTR, UINT);
  const HMODULE shell32 = GetModuleHandleW(L"shell32.dll");
  const FARPROC proc = shell32 ? GetProcAddress(shell32, MAKEINTRESOURCEA(61)) : nullptr;
  if (!proc) return 0;
  const auto runFileDlg = reinterpret_cast<RunFileDlgFn>(reinterpret_cast<void (*)()>(proc));

  reapFinished();
  auto dialog = std::make_unique<DialogThread>();
  DialogThread* state = dialog.get();
  std::promise<DWORD> started;
  std::future<DWORD> id = started.get_future();
  dialog->thread = std::thread([runFileDlg, state, started = std::move(started)]() mutable {
    started.set_value(GetCurrentThreadId());
    {
      // The dialog starts programs through ShellExecuteEx, which wants COM on its thread.
      const ComScope com;
      runFileDlg(nullptr, nullptr, nullptr, nullptr, nullptr, 0);
    }
    state->done = true;
  });
  dialog->id = id.get();
  const DWORD threadId = dialog->id;
  std::lock_guard lock(mutex_);
  dialogs_.push_back(std::move(dialog));
  return threadId;
}

void Win32Shell::reapFinished() {
  std::lock_guard lock(mutex_);
  for (auto it = dialogs_.begin(); it != dialogs_.end();) {
    if ((*it)->done) {
      (*it)->thread.join();
      it = dialogs_.erase(it);
    } else {
      ++it;
    }
  }
}

void Win32Shell::closeDialogs() {
  std::lock_guard lock(mutex_);
  const ULONGLONG deadline = GetTickCount64() + 3000;
  for (;;) {
    bool open = false;
    for (const auto& dialog : dialogs_) {
      if (dialog->done) continue;
      open = true;
      // A message box above the dialog (the dialog's own "not found") closes first, then the
      // dialog on a later round.
      EnumThreadWindows(
          dialog->id,
          [](HWND window, LPARAM) -> BOOL {
            if (IsWindowVisible(window) && IsWindowEnabled(window))
              PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
          },
          0);
    }
    if (!open || GetTickCount64() >= deadline) break;
    pause(50);
  }
  for (auto& dialog : dialogs_) {
    if (dialog->done)
      dialog->thread.join();
    else
      dialog->thread.detach();  // a dialog that refuses to close dies with the process
  }
  dialogs_.clear();
}

// ---- Keyboard ------------------------------------------------------------------------------

std::vector<Win32Keyboard::Stroke> Win32Keyboard::parse(const std::string& keys) {
  const std::wstring wide = widen(keys);
  return KeyParser(wide).run();
}

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
    processSentMessages();
  }
}

// ---- Events --------------------------------------------------------------------------------

void dispatchMessage(MSG& message, const MessageFilter& filter) {
  if (filter && filter(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void Win32EventPump::doEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the program's message loop
      return;
    }
    dispatchMessage(message, filter);
  }
}

// ---- Programs ------------------------------------------------------------------------------

void Win32ProgramStarter::start(const std::string& path) {
  // Started as a program, never through the shell's "open" verb, which opens a folder in
  // Explorer or a document in its program and reports success.
  if (path.empty()) raise(err::kFileNotFound);
  std::wstring application = widen(path);
  // A folder is refused by name: Windows answers ERROR_ACCESS_DENIED, Wine ERROR_INVALID_HANDLE.
  const DWORD attributes = GetFileAttributesW(application.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    raise(err::kPermissionDenied);
  std::wstring commandLine = L"\"" + application + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &process)) {
    // The started program may take the foreground from this one.
    AllowSetForegroundWindow(process.dwProcessId);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return;
  }
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      raise(err::kFileNotFound);  // no such program
    case ERROR_ACCESS_DENIED:
      raise(err::kPermissionDenied);  // a folder, or a file this user may not run
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      raise(err::kOutOfMemory);
    default:
      raise(err::kInvalidProcedureCall);  // a document or another file that is no program
  }
}

}  // namespace vcit::platform
