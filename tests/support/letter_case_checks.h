#pragma once

#include "platform/system.h"

namespace vcit::testing {

// RegOp on a fake registry with this system: for each of kCaseSamples, a value read by its
// name in the other case is found, and Key set to the path in the other case does not reopen,
// exactly when the system matches the two.
void expectRegOpMatchesNamesAsTheSystemDoes(platform::System& system);

}  // namespace vcit::testing
