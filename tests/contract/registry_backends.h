#pragma once

#include <string>
#include <vector>

#include "support/registry_fixture.h"

namespace vcit::testing {

// The fake registry, and in the Windows build also Windows' own.
std::vector<RegistryBackend> registryBackends();

// A NUL, for building registry data ("a" + kNul + "b").
inline const std::string kNul(1, '\0');

}  // namespace vcit::testing

#define VCIT_REGISTRY_CONTRACT(Fixture)                                                       \
  INSTANTIATE_TEST_SUITE_P(, Fixture, ::testing::ValuesIn(vcit::testing::registryBackends()), \
                           vcit::testing::backendName)
