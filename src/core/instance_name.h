#pragma once

#include <string>
#include <string_view>

namespace vcit {

// The name of the session-wide kernel objects by which launchers started from one program
// folder find each other: "Local\" and a hash of the folder's path, so that the same folder
// written in other letter case, with a trailing backslash, with "/" or in the "\\?\" form gives
// the same name, and a launcher unpacked elsewhere a name of its own. Short, and without a
// backslash after the "Local\" namespace (object names may not hold one). The folder should
// be given in its long form (no 8.3 short names).
std::string instanceName(std::string_view programFolder);

}  // namespace vcit
