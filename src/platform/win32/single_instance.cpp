#include "platform/win32/single_instance.h"

#include <sddl.h>

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

// Access rules in the security descriptor language, for objects made with them.
class SecurityDescriptor {
 public:
  explicit SecurityDescriptor(const wchar_t* rules) {
    PSECURITY_DESCRIPTOR made = nullptr;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(rules, SDDL_REVISION_1, &made,
                                                             nullptr))
      descriptor_.reset(made);
    attributes_.lpSecurityDescriptor = descriptor_.get();
  }
  // None when the rules could not be made: the objects then get the default ones.
  SECURITY_ATTRIBUTES* attributes() const { return descriptor_ ? &attributes_ : nullptr; }

 private:
  UniqueLocal descriptor_;
  mutable SECURITY_ATTRIBUTES attributes_{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

}  // namespace

SingleInstance::SingleInstance()
    : SingleInstance(widen(instanceName(longFolderName(Win32System{}.programDirectory())))) {}

SingleInstance::SingleInstance(const std::wstring& name) {
  // Made so that every user of the session may wait on the mutex and read and write the block:
  // by default they would get the rules of the token that makes them, and those of an
  // elevated launcher keep a standard user's launcher out.
  const SecurityDescriptor mutexRules(L"D:(A;;0x100001;;;WD)");  // SYNCHRONIZE, MODIFY_STATE
  const SecurityDescriptor blockRules(L"D:(A;;0x7;;;WD)");       // query, read, write
  mutex_.reset(
      CreateMutexExW(mutexRules.attributes(), name.c_str(), 0, SYNCHRONIZE | MUTEX_MODIFY_STATE));
  refused_ = !mutex_ && GetLastError() == ERROR_ACCESS_DENIED;
  const std::wstring blockName = name + L".window";
  // Opened before it is made: opening it through CreateFileMapping would ask for rights the
  // rules do not give.
  for (int attempt = 0; attempt < 2 && !mapping_; ++attempt) {
    mapping_.reset(OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, blockName.c_str()));
    if (!mapping_ && GetLastError() == ERROR_FILE_NOT_FOUND)
      mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, blockRules.attributes(),
                                        PAGE_READWRITE, 0, sizeof(Shared), blockName.c_str()));
  }
  writable_ = static_cast<bool>(mapping_);
  // Made by an earlier launcher with other rules: it may be read at least.
  if (!mapping_) mapping_.reset(OpenFileMappingW(FILE_MAP_READ, FALSE, blockName.c_str()));
  if (mapping_)
    view_.reset(MapViewOfFile(mapping_.get(),
                              writable_ ? FILE_MAP_READ | FILE_MAP_WRITE : FILE_MAP_READ, 0, 0,
                              sizeof(Shared)));
  shared_ = static_cast<Shared*>(view_.get());
  writable_ = writable_ && shared_;
}

SingleInstance::~SingleInstance() {
  if (!owned_) return;
  if (writable_) {
    InterlockedExchange64(&shared_->window, 0);
    InterlockedExchange(&shared_->processId, 0);
  }
  ReleaseMutex(mutex_.get());
}

bool SingleInstance::claim(DWORD waitMs) {
  // Objects that could not be made never refuse a start. Refused ones are another launcher's
  // of this folder, made with rules that keep this user out (an elevated one of an earlier
  // build): it runs, and its window is brought forward where the block can be read.
  if (!mutex_ && !refused_) return true;
  const ULONGLONG deadline = GetTickCount64() + waitMs;
  DWORD step = 0;
  while (true) {
    if (mutex_) {
      // Abandoned: the launcher that held it ended without letting go; this one takes over.
      const DWORD waited = WaitForSingleObject(mutex_.get(), step);
      if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return takeOwnership();
      if (waited != WAIT_TIMEOUT) return true;
    }
    if (shared_ && bringRunningToFront()) return false;
    if (!shared_ && !mutex_) return false;  // nothing to wait for: ends quietly
    if (GetTickCount64() >= deadline) return false;
    step = 50;
    if (!mutex_) Sleep(step);
  }
}

bool SingleInstance::takeOwnership() {
  owned_ = true;
  if (!writable_) return true;
  InterlockedExchange64(&shared_->window, 0);
  InterlockedExchange(&shared_->processId, static_cast<LONG>(GetCurrentProcessId()));
  return true;
}

void SingleInstance::publish(HWND window) {
  if (owned_ && writable_)
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
