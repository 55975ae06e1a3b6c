#include "core/instance_name.h"

#include <cstdint>
#include <cstdio>

#include "core/text.h"

namespace vcit {
namespace {

// The folder as one text per folder: "\" as the only separator, the "\\?\" and "\\?\UNC\"
// prefixes taken off, no trailing separator, letter case folded.
std::string normalized(std::string_view folder) {
  std::string path(folder);
  for (char& c : path)
    if (c == '/') c = '\\';
  if (path.starts_with("\\\\?\\UNC\\"))
    path = "\\\\" + path.substr(8);
  else if (path.starts_with("\\\\?\\"))
    path = path.substr(4);
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return text::foldCase(path);
}

// FNV-1a, 64 bits.
std::uint64_t hashOf(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  return hash;
}

}  // namespace

std::string instanceName(std::string_view programFolder) {
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx",
                static_cast<unsigned long long>(hashOf(normalized(programFolder))));
  return std::string("Local\\VCITLauncher.") + hex;
}

}  // namespace vcit
