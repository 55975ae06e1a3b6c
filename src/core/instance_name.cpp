#include "core/instance_name.h"
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

}  // namespace

std::string instanceName(std::string_view programFolder) {
  return "Local\\VCITLauncher." + text::hashHex(normalized(programFolder));
}

}  // namespace vcit
