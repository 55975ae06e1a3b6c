#include "registry_backends.h"

#ifdef VCIT_WITH_WIN32_REGISTRY
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#endif

namespace vcit::testing {

std::vector<RegistryBackend> registryBackends() {
  std::vector<RegistryBackend> backends{fakeRegistryBackend()};
#ifdef VCIT_WITH_WIN32_REGISTRY
  backends.push_back({"Win32", [] { return std::make_unique<platform::Win32Registry>(); },
                      [] { return std::make_unique<platform::Win32System>(); }});
#endif
  return backends;
}

}  // namespace vcit::testing
