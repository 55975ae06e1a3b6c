// Where the time of a package copy goes under Wine: the Win32 calls of one copy, in the order
// the launcher makes them, each timed and summed over 16 packages. Variants: the chunk size,
// reading into a buffer against writing straight from a mapped view of the source, a flush
// after each copy against one pass of flushes after all copies (then renames), and no
// flush at all (for the bound). The packages are made and flushed first, untimed.
//
//   bench_copy_steps --work FOLDER [--size-mb N] [--chunk-kb K] [--read buffer|map]
//                    [--mode each|batch|none]
//                    [--make | --clean]
//
// --make only writes the packages (FOLDER\steps-src), so that a shell can time `cp` + `sync`
// of them beside this run; --clean removes everything.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/e2e_files.h"
#include "support/e2e_measures.h"
#include "support/e2e_pattern_files.h"
#include "support/e2e_text.h"

using namespace vcit::e2e;

namespace {

constexpr int kPackages = 16;

struct Steps {
  std::map<std::string, double> seconds;
  std::vector<std::string> order;
  template <class Call>
  auto time(const std::string& step, Call call) {
    if (!seconds.count(step)) order.push_back(step);
    const double t = now();
    auto result = call();
    seconds[step] += now() - t;
    return result;
  }
};

std::string packageName(int i) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "package%02d.pk3", i);
  return buf;
}

void check(bool ok, const char* what) {
  if (!ok)
    throw std::runtime_error(std::string(what) + " failed, error " +
                             std::to_string(GetLastError()));
}

}  // namespace

int main(int argc, char** argv) {
  std::string work, mode = "each", read = "buffer";
  std::uint64_t sizeMb = 64, chunkKb = 1024;
  bool make = false, clean = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--work" && i + 1 < argc)
      work = windowsPath(argv[++i]);
    else if (a == "--size-mb" && i + 1 < argc)
      sizeMb = std::strtoull(argv[++i], nullptr, 10);
    else if (a == "--chunk-kb" && i + 1 < argc)
      chunkKb = std::strtoull(argv[++i], nullptr, 10);
    else if (a == "--mode" && i + 1 < argc)
      mode = argv[++i];
    else if (a == "--read" && i + 1 < argc)
      read = argv[++i];
    else if (a == "--make")
      make = true;
    else if (a == "--clean")
      clean = true;
  }
  if (work.empty()) {
    std::fprintf(stderr, "usage: bench_copy_steps --work FOLDER [options]\n");
    return 2;
  }
  const std::string src = work + "\\steps-src", dst = work + "\\steps-dst";
  try {
    if (clean) {
      removeTree(src);
      removeTree(dst);
      return 0;
    }
    if (make || !fileExists(src + "\\" + packageName(kPackages - 1))) {
      removeTree(src);
      createFolders(src);
      for (int i = 0; i < kPackages; ++i)
        writePattern(src + "\\" + packageName(i), sizeMb << 20, static_cast<std::uint32_t>(i + 1));
      if (make) return 0;
    }
    removeTree(dst);
    createFolders(dst);

    Steps s;
    std::vector<char> buffer(chunkKb << 10);
    std::vector<HANDLE> pending;  // batch mode: written, not yet flushed
    std::vector<std::pair<std::wstring, std::wstring>> renames;
    const double start = now();
    for (int i = 0; i < kPackages; ++i) {
      const std::wstring from = wide(src + "\\" + packageName(i));
      const std::wstring to = wide(dst + "\\" + packageName(i));
      const std::wstring partial = to + L".vcit-partial";
      WIN32_FILE_ATTRIBUTE_DATA data{};
      s.time("facts source (GetFileAttributesExW)",
             [&] { return GetFileAttributesExW(from.c_str(), GetFileExInfoStandard, &data); });
      s.time("facts target (GetFileAttributesExW)",
             [&] { return GetFileAttributesExW(to.c_str(), GetFileExInfoStandard, &data); });
      HANDLE in = s.time("open source (CreateFileW)", [&] {
        return CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
      });
      check(in != INVALID_HANDLE_VALUE, "open source");
      FILETIME time{};
      s.time("GetFileTime", [&] { return GetFileTime(in, nullptr, nullptr, &time); });
      s.time("target attributes (GetFileAttributesW)",
             [&] { return GetFileAttributesW(to.c_str()); });
      HANDLE out = s.time("create temporary (CreateFileW)", [&] {
        return CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
      });
      check(out != INVALID_HANDLE_VALUE, "create temporary");
      if (read == "map") {
        LARGE_INTEGER length{};
        s.time("GetFileSizeEx", [&] { return GetFileSizeEx(in, &length); });
        const auto size = static_cast<std::uint64_t>(length.QuadPart);
        HANDLE mapping = s.time("CreateFileMappingW", [&] {
          return CreateFileMappingW(in, nullptr, PAGE_READONLY, 0, 0, nullptr);
        });
        check(mapping != nullptr, "CreateFileMappingW");
        const char* view = s.time("MapViewOfFile", [&] {
          return static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
        });
        check(view != nullptr, "MapViewOfFile");
        for (std::uint64_t at = 0; at < size;) {
          const DWORD n = static_cast<DWORD>(std::min<std::uint64_t>(buffer.size(), size - at));
          DWORD written = 0;
          check(s.time("WriteFile (from the view)",
                       [&] { return WriteFile(out, view + at, n, &written, nullptr); }),
                "WriteFile");
          at += written;
        }
        s.time("UnmapViewOfFile", [&] { return UnmapViewOfFile(view); });
        s.time("close mapping", [&] { return CloseHandle(mapping); });
      }
      for (; read != "map";) {
        DWORD got = 0;
        check(s.time("ReadFile",
                     [&] {
                       return ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                                       nullptr);
                     }),
              "ReadFile");
        if (got == 0) break;
        DWORD written = 0;
        check(s.time("WriteFile",
                     [&] { return WriteFile(out, buffer.data(), got, &written, nullptr); }),
              "WriteFile");
      }
      s.time("SetFileTime", [&] { return SetFileTime(out, nullptr, nullptr, &time); });
      s.time("close source", [&] { return CloseHandle(in); });
      if (mode == "batch") {
        pending.push_back(out);
        renames.emplace_back(partial, to);
        continue;
      }
      if (mode == "each") s.time("FlushFileBuffers", [&] { return FlushFileBuffers(out); });
      s.time("close temporary", [&] { return CloseHandle(out); });
      check(s.time("MoveFileExW (write-through)",
                   [&] {
                     return MoveFileExW(partial.c_str(), to.c_str(),
                                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
                   }),
            "MoveFileExW");
    }
    for (HANDLE out : pending) {
      s.time("FlushFileBuffers", [&] { return FlushFileBuffers(out); });
      s.time("close temporary", [&] { return CloseHandle(out); });
    }
    for (const auto& [partial, to] : renames)
      check(s.time("MoveFileExW (write-through)",
                   [&] {
                     return MoveFileExW(partial.c_str(), to.c_str(),
                                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
                   }),
            "MoveFileExW");
    const double total = now() - start;
    std::printf("copy steps, 16 x %llu MB, chunk %llu KB, read %s, flush %s:\n",
                static_cast<unsigned long long>(sizeMb), static_cast<unsigned long long>(chunkKb),
                read.c_str(), mode.c_str());
    double summed = 0;
    for (const auto& step : s.order) {
      std::printf("  %-42s %8.1f ms\n", step.c_str(), s.seconds[step] * 1000);
      summed += s.seconds[step];
    }
    std::printf("  %-42s %8.1f ms\n", "(between calls)", (total - summed) * 1000);
    std::printf("RESULT copy_steps mode=%s chunk_kb=%llu ms=%.1f\n", mode.c_str(),
                static_cast<unsigned long long>(chunkKb), total * 1000);
    removeTree(dst);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_copy_steps: %s\n", e.what());
    return 1;
  }
}
