#ifdef _WIN32

#include "support/e2e_measures.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "support/e2e_files.h"

namespace vcit::e2e {

double now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / frequency;
}

double threadCpuTime() {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  const auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
}

std::optional<std::uint64_t> bytesWrittenByProcess() {
  // Only under Wine on x86-64 Linux: the program runs in a Unix process, whose id the Linux
  // getpid system call gives (Wine leaves direct system calls alone). Its /proc/<pid>/io is
  // read through Z: (the path names the pid, as the file is opened by the wineserver).
  static const long unixPid = []() -> long {
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) return 0;
    long pid = 39;  // SYS_getpid
    asm volatile("syscall" : "+a"(pid) : : "rcx", "r11", "memory");
    return pid;
  }();
  if (unixPid <= 0) return std::nullopt;
  const std::string io = readFile("Z:\\proc\\" + std::to_string(unixPid) + "\\io");
  const auto at = io.find("wchar:");
  if (at == std::string::npos) return std::nullopt;
  return std::strtoull(io.c_str() + at + 6, nullptr, 10);
}

}  // namespace vcit::e2e

#endif  // _WIN32
