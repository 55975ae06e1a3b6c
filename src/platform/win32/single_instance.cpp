#include "platform/win32/single_instance.h"

#include <string>

#include "core/instance_name.h"
#include "platform/win32/path_query.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_system.h"

namespace vcit::platform::win32 {
namespace {

// The folder in its long form, so that a start by an 8.3 path finds the same objects.
std::string longFolderName(const std::string& folder) {
  const std::wstring wide = widen(folder);
  const std::wstring longName = queryPath(
      [&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(wide.c_str(), buffer, size); });
  return longName.empty() ? folder : narrow(longName);
}

DWORD processOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId;
}

// A visible top-level window of the process (a message box shown before its main window).
HWND visibleWindowOf(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        if (!IsWindowVisible(window) || processOf(window) != s.processId) return TRUE;
        s.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

SingleInstance::SingleInstance()
    : SingleInstance(widen(instanceName(longFolderName(Win32System{}.programDirectory())))) {}

SingleInstance::SingleInstance(const std::wstring& name) {
  mutex_.reset(CreateMutexW(nullptr, FALSE, name.c_str()));
  mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    sizeof(Shared), (name + L".window").c_str()));
  if (mapping_)
    view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Shared)));
  shared_ = static_cast<Shared*>(view_.get());
}

SingleInstance::~SingleInstance() {
  if (!owned_) return;
  if (shared_) {
    InterlockedExchange64(&shared_->window, 0);
    InterlockedExchange(&shared_->processId, 0);
  }
  ReleaseMutex(mutex_.get());
}

bool SingleInstance::claim(DWORD waitMs) {
  if (!mutex_ || !shared_) return true;
  const ULONGLONG deadline = GetTickCount64() + waitMs;
  DWORD step = 0;
  while (true) {
    // Abandoned: the launcher that held it ended without letting go; this one takes over.
    const DWORD waited = WaitForSingleObject(mutex_.get(), step);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return takeOwnership();
    if (waited != WAIT_TIMEOUT) return true;
    if (bringRunningToFront()) return false;
    if (GetTickCount64() >= deadline) return false;
    step = 50;
  }
}

bool SingleInstance::takeOwnership() {
  owned_ = true;
  InterlockedExchange64(&shared_->window, 0);
  InterlockedExchange(&shared_->processId, static_cast<LONG>(GetCurrentProcessId()));
  return true;
}

void SingleInstance::publish(HWND window) {
  if (owned_ && shared_)
    InterlockedExchange64(&shared_->window, static_cast<LONG64>(reinterpret_cast<INT_PTR>(window)));
}

bool SingleInstance::bringRunningToFront() const {
  const auto processId = static_cast<DWORD>(InterlockedCompareExchange(&shared_->processId, 0, 0));
  if (processId == 0) return false;
  const auto window = reinterpret_cast<HWND>(
      static_cast<INT_PTR>(InterlockedCompareExchange64(&shared_->window, 0, 0)));
  // A window handle is valid in every process of the session; the process check guards
  // against a handle value reused after that window was destroyed.
  const bool published = window && IsWindow(window) && processOf(window) == processId;
  const HWND target = published ? GetLastActivePopup(window) : visibleWindowOf(processId);
  if (!target) return false;
  AllowSetForegroundWindow(processId);
  // Asynchronous: a launcher busy with Apply restores its window when its thread gets to it,
  // and this process does not wait for that.
  if (published && IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
  SetForegroundWindow(target);
  return true;
}

}  // namespace vcit::platform::win32
