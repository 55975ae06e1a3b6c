#include "support/letter_case_checks.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_registry.h"
#include "registry/reg_op.h"
#include "support/case_samples.h"

namespace vcit::testing {

void expectRegOpMatchesNamesAsTheSystemDoes(platform::System& system) {
  namespace reg = platform::reg;
  platform::FakeRegistry registry;
  platform::CallLog log;
  platform::FakeMessageBoxes messages{log};
  for (const auto& s : kCaseSamples) {
    const std::string path = std::string("Software\\VCITTests\\") + s.a;
    reg::Key key = 0;
    registry.createKey(reg::kCurrentUser, path, "", 0, reg::kKeyAllAccess, key);
    registry.setValue(key, s.a, reg::kTypeSz, std::string(s.what) + '\0');
    registry.closeKey(key);

    RegOp op(registry, system, messages);
    op.Key(path);
    EXPECT_EQ(op.Value(s.a), DynamicValue(s.what)) << s.what;
    const int opens = registry.calls("createKey");
    op.Key(std::string("Software\\VCITTests\\") + s.b);
    EXPECT_EQ(registry.calls("createKey") == opens, s.same) << s.what << ": Key reopened";
    EXPECT_EQ(op.Value(s.b).isEmpty(), !s.same) << s.what;
  }
}

}  // namespace vcit::testing
