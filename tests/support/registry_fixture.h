#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_system.h"
#include "platform/registry_api.h"
#include "registry/reg_op.h"

namespace vcit {
// Readable failure messages: the kind and the text form ("Long 5", "Text \"a\\0b\"").
void PrintTo(const DynamicValue& value, std::ostream* os);
}  // namespace vcit

namespace vcit::testing {

// A registry to run the same checks against: the fake, or Windows' own (with the system's
// own environment and version).
struct RegistryBackend {
  std::string name;
  std::function<std::unique_ptr<platform::Registry>()> makeRegistry;
  std::function<std::unique_ptr<platform::System>()> makeSystem;
};

std::string backendName(const ::testing::TestParamInfo<RegistryBackend>& info);
inline void PrintTo(const RegistryBackend& backend, std::ostream* os) {
  *os << backend.name;
}

// Each test works in its own key HKCU\Software\VCITTests\<test>_<n>, removed afterwards.
class RegistryContract : public ::testing::TestWithParam<RegistryBackend> {
 protected:
  static constexpr std::uint32_t kHkcu = platform::reg::kCurrentUser;

  void SetUp() override;
  void TearDown() override;

  // The test key's path below HKCU, or that of a key below it.
  std::string path(const std::string& sub = "") const;
  void makeKey(const std::string& sub);
  bool exists(const std::string& sub = "");
  void put(const std::string& sub, const std::string& name, std::uint32_t type,
           const std::string& data);
  void putDword(const std::string& sub, const std::string& name, std::uint32_t value);
  // The stored value (type and data), or nothing when it does not exist.
  std::optional<platform::Registry::Queried> stored(const std::string& sub,
                                                    const std::string& name);
  // An open handle of the key (created when missing), closed at the end of the test.
  platform::reg::Key handle(const std::string& sub = "",
                            std::uint32_t access = platform::reg::kKeyAllAccess);

  // A RegOp on the test's registry, with the backend's system (or the one given), the key
  // selected (when sub is not null) and the options set.
  std::unique_ptr<RegOp> op(const char* sub = "", std::int32_t options = 0,
                            platform::System* system = nullptr);
  // The value of an environment variable of the backend's system ("" when missing).
  std::string environmentVariable(const std::string& name);

  platform::Registry& registry() { return *registry_; }
  platform::System& system() { return *system_; }

  platform::CallLog log;
  platform::FakeMessageBoxes messages{log};
  platform::FakeSystem fakeSystem;

 private:
  std::unique_ptr<platform::Registry> registry_;
  std::unique_ptr<platform::System> system_;
  std::string base_;
  std::vector<platform::reg::Key> handles_;
};

// The fake backend (every build) and the Windows one (the Windows build).
RegistryBackend fakeRegistryBackend();

}  // namespace vcit::testing
