#include "win32/file_call_trace.h"

#include <cstring>
#include <stdexcept>

#include "platform/win32/text_conversion.h"

namespace vcit::platform {
namespace {

FileCallTrace* active = nullptr;

BOOL WINAPI writeHook(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED o) {
  return active->write(file, data, size, written, o);
}
BOOL WINAPI flushHook(HANDLE file) {
  return active->flush(file);
}
BOOL WINAPI renameHook(LPCWSTR from, LPCWSTR to, DWORD flags) {
  return active->rename(from, to, flags);
}

std::string nameOf(std::wstring path) {
  path.erase(0, path.find_last_of(L"\\/") + 1);
  return win32::narrow(path);
}

std::string nameOf(HANDLE file) {
  std::wstring path(1024, L'\0');
  const DWORD n = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), 0);
  path.resize(n < path.size() ? n : 0);
  return nameOf(path);
}

}  // namespace

ImportPatch::ImportPatch(const char* dll, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       d->Name != 0; ++d) {
    if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
      slot_ = reinterpret_cast<void**>(&slots->u1.Function);
    }
  }
  if (!slot_) throw std::runtime_error(std::string("not imported: ") + function);
  DWORD was = 0;
  VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &was);
  original_ = *slot_;
  *slot_ = replacement;
  VirtualProtect(slot_, sizeof(void*), was, &was);
}

ImportPatch::~ImportPatch() {
  DWORD was = 0;
  VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &was);
  *slot_ = original_;
  VirtualProtect(slot_, sizeof(void*), was, &was);
}

FileCallTrace::Active::Active(FileCallTrace* trace) {
  if (active) throw std::logic_error("one file call trace at a time");
  active = trace;
}

FileCallTrace::Active::~Active() {
  active = nullptr;
}

FileCallTrace::FileCallTrace()
    : active_(this),
      write_("kernel32.dll", "WriteFile", reinterpret_cast<void*>(&writeHook)),
      flush_("kernel32.dll", "FlushFileBuffers", reinterpret_cast<void*>(&flushHook)),
      rename_("kernel32.dll", "MoveFileExW", reinterpret_cast<void*>(&renameHook)) {}

FileCallTrace::~FileCallTrace() = default;

// Each call is told as it is made (the names are looked up before the system's call sets the
// caller's last error).
BOOL FileCallTrace::write(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                          LPOVERLAPPED overlapped) {
  add("write " + nameOf(file));
  return reinterpret_cast<decltype(&WriteFile)>(write_.original())(file, data, size, written,
                                                                   overlapped);
}

BOOL FileCallTrace::flush(HANDLE file) {
  const std::string name = nameOf(file);
  add("flush " + name, +1);
  if (beforeFlush) beforeFlush(name);
  const BOOL ok = reinterpret_cast<decltype(&FlushFileBuffers)>(flush_.original())(file);
  const DWORD error = GetLastError();
  add({}, -1);
  SetLastError(error);
  return ok;
}

BOOL FileCallTrace::rename(LPCWSTR from, LPCWSTR to, DWORD flags) {
  add("rename " + nameOf(from) + " -> " + nameOf(to));
  return reinterpret_cast<decltype(&MoveFileExW)>(rename_.original())(from, to, flags);
}

void FileCallTrace::add(std::string call, int flushes) {
  std::lock_guard lock(mutex_);
  if (!call.empty()) calls_.push_back(std::move(call));
  flushesUnderway_ += flushes;
}

std::vector<std::string> FileCallTrace::calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::vector<std::string> FileCallTrace::callsOn(const std::string& name) const {
  std::vector<std::string> on;
  for (const std::string& call : calls()) {
    const std::size_t at = call.find(' ') + 1;
    const std::size_t end = call.find(" -> ");
    if (call.compare(at, end == std::string::npos ? std::string::npos : end - at, name) != 0)
      continue;
    if (on.empty() || on.back() != call) on.push_back(call);
  }
  return on;
}

int FileCallTrace::flushesUnderway() const {
  std::lock_guard lock(mutex_);
  return flushesUnderway_;
}

}  // namespace vcit::platform
