// Faults the fuzz targets found, each kept as a plain test.
#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_system.h"
#include "registry/reg_op.h"

namespace vcit {
namespace {

namespace reg = platform::reg;

// A REG_MULTI_SZ value stored without its final NULs, with a letter outside ASCII, beside a
// larger value: the class's buffer (one byte longer than the largest value, in the code page)
// holds the two NULs after it, so it reads whole; counting the buffer in UTF-8 bytes left
// room for one NUL only and gave error 5.
TEST(FuzzRegression, MultiStringWithLatinLettersReadsWithinItsCodePageBuffer) {
  platform::FakeRegistry registry;
  platform::FakeSystem system;
  platform::CallLog log;
  platform::FakeMessageBoxes messages(log);
  reg::Key key = 0;
  registry.createKey(reg::kCurrentUser, "Software\\Fuzz", "", 0, reg::kKeyAllAccess, key);
  registry.setValue(key, "m", reg::kTypeMultiSz,
                    "\xC3\x89"
                    "a");  // "Éa", 2 bytes in cp1252
  registry.setValue(key, "b", reg::kTypeBinary, std::string("\1\2\3", 3));
  registry.closeKey(key);

  RegOp op(registry, system, messages);
  op.Key("Software\\Fuzz");
  EXPECT_EQ(op.Value("m"), DynamicValue("\xC3\x89"
                                        "a"));
  EXPECT_EQ(op.Value("b"), DynamicValue("(unsupported data format)"));
}

}  // namespace
}  // namespace vcit
