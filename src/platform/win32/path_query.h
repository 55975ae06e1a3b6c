#pragma once

#include <windows.h>

#include <string>

namespace vcit::platform::win32 {

// The path that a Windows path function such as GetFullPathNameW or GetLongPathNameW writes,
// called first for the room it needs and then to write it: query(buffer, size) returns what
// the function returns. Empty when it fails.
template <class Query>
std::wstring queryPath(Query query) {
  const DWORD needed = query(nullptr, 0);
  if (needed == 0) return {};
  std::wstring path(needed, L'\0');
  const DWORD got = query(path.data(), needed);
  if (got == 0 || got >= needed) return {};
  path.resize(got);
  return path;
}

}  // namespace vcit::platform::win32
