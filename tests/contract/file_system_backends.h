#pragma once

#include <vector>

#include "support/file_system_fixture.h"

namespace vcit::testing {

// The fake file system, and in the Windows build also Windows' own.
std::vector<FileSystemBackend> fileSystemBackends();

}  // namespace vcit::testing

#define VCIT_FILE_SYSTEM_CONTRACT(Fixture)                                                      \
  INSTANTIATE_TEST_SUITE_P(, Fixture, ::testing::ValuesIn(vcit::testing::fileSystemBackends()), \
                           vcit::testing::fileSystemBackendName)
