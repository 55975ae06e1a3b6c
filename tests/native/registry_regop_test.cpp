// What only the fake registry can show about RegOp: the access it asks for, when it touches
// the registry, and what it does with data that a well-behaved registry never gives.
#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_system.h"
#include "registry/reg_op.h"

namespace vcit {
namespace {

namespace reg = platform::reg;
constexpr const char* kKey = "Software\\VCITTests\\Native";
const std::string kNul(1, '\0');

class RegOpNative : public ::testing::Test {
 protected:
  void put(const std::string& name, std::uint32_t type, const std::string& data,
           const std::string& path = kKey) {
    reg::Key key = 0;
    registry.createKey(reg::kCurrentUser, path, "", 0, reg::kKeyAllAccess, key);
    registry.setValue(key, name, type, data);
    registry.closeKey(key);
  }
  std::unique_ptr<RegOp> op(std::int32_t options = 0) {
    auto r = std::make_unique<RegOp>(registry, system, messages);
    r->Options(options);
    r->Key(kKey);
    return r;
  }

  platform::FakeRegistry registry;
  platform::FakeSystem system;
  platform::CallLog log;
  platform::FakeMessageBoxes messages{log};
};

TEST_F(RegOpNative, AccessFollowsTheOperationAndAChangedMaskReopens) {
  put("v", reg::kTypeSz, "x" + kNul);
  auto r = op();
  EXPECT_EQ(registry.totalCalls(), 3);  // only the setup: selecting a key opens nothing
  r->Value("v");
  r->Value("w", "y");
  r->ValueCount();  // keeps the mask of the last operation
  r->AllKeys();
  r->DeleteValue("w");
  r->DeleteKey();
  const std::vector<std::uint32_t> expected{reg::kKeyAllAccess, reg::kKeyRead, 0x2001F,
                                            reg::kKeyRead,      0xF003F,       0xF003F};
  EXPECT_EQ(registry.requestedAccess(), expected);
  EXPECT_EQ(registry.openHandles(), 1u);
  r.reset();
  EXPECT_EQ(registry.openHandles(), 0u);
}

TEST_F(RegOpNative, OutsideTheNtFamilyNoAccessIsAskedAndNothingReopens) {
  system.platform = 1;
  registry.ignoreAccess = true;
  auto r = op();
  r->Value("w", "y");
  EXPECT_EQ(r->Value("w"), DynamicValue("y"));
  put("w", reg::kTypeSz, "changed" + kNul);  // by another program
  EXPECT_FALSE(r->DeleteValue("missing"));   // fails without emptying the cache
  EXPECT_EQ(r->Value("w"), DynamicValue("y"));
  EXPECT_TRUE(r->DeleteValue("w"));
  EXPECT_EQ(registry.requestedAccess(), (std::vector<std::uint32_t>{0, reg::kKeyAllAccess}));
}

TEST_F(RegOpNative, ACachedReadDoesNotTouchTheRegistry) {
  put("a", reg::kTypeSz, "1" + kNul);
  put("b", reg::kTypeDword, std::string("\x07\0\0\0", 4));
  auto r = op();
  EXPECT_EQ(r->Value("a"), DynamicValue("1"));
  const int calls = registry.totalCalls();
  EXPECT_EQ(r->Value("B"), DynamicValue(std::int32_t{7}));
  EXPECT_TRUE(r->Value("missing").isEmpty());
  EXPECT_EQ(r->AllValues().array().rows, 2u);
  EXPECT_EQ(registry.totalCalls(), calls);
}

TEST_F(RegOpNative, AKeyThatCannotBeOpenedForWritingIsReported) {
  put("v", reg::kTypeSz, "x" + kNul);
  registry.refuse(reg::kCurrentUser, kKey, 0x2 /* KEY_SET_VALUE */);
  auto r = op(RegOp::ShowErrors);
  EXPECT_EQ(r->Value("v"), DynamicValue("x"));
  r->Value("v", "new");
  EXPECT_FALSE(r->DeleteValue("v"));
  EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Could not open Registry Key!",
                                                        "Could not open Registry Key!"}));
  EXPECT_EQ(registry.value(reg::kCurrentUser, kKey, "v")->data, "x" + kNul);

  // Another key that cannot be opened at all gives nothing, not the values cached before.
  registry.refuse(reg::kCurrentUser, "Software\\Locked", 0);
  r->Key("Software\\Locked");
  EXPECT_TRUE(r->Value("v").isEmpty());
  EXPECT_FALSE(registry.keyExists(reg::kCurrentUser, "Software\\Locked"));
}

TEST_F(RegOpNative, AMultiStringWithoutANulPairIsError5) {
  put("m", reg::kTypeMultiSz, "a" + kNul + "b");  // the largest value, without its final NULs
  auto r = op();
  try {
    r->Value("m");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 5);
  }
}

TEST_F(RegOpNative, ValuesThatDoNotFitTheReportedSizesAreSkipped) {
  put("a", reg::kTypeSz, "1" + kNul);
  auto r = op();
  EXPECT_EQ(r->ValueCount(), 1);
  put("a", reg::kTypeSz, "much longer" + kNul);  // grows after the open
  EXPECT_TRUE(r->Value("a").isEmpty());
  EXPECT_TRUE(messages.shown().empty());
}

// An expansion that fits 1024 bytes with its NUL is taken at once; a longer one is asked for
// again with the size the system reports.
TEST_F(RegOpNative, AnExpansionIsGivenWholeWhateverItsLength) {
  struct Case {
    std::size_t length;
    int calls;
  };
  for (const Case c : {Case{1019, 1}, Case{1020, 2}, Case{3000, 2}}) {
    const std::string longValue(c.length, 'x');
    system.environment = {"A=12345", "LONGVAR=" + longValue};
    system.expandCalls = 0;
    put("p", reg::kTypeExpandSz, "%longvar%\\end" + kNul);
    EXPECT_EQ(op(RegOp::ExpandOnRead)->Value("p"), DynamicValue(longValue + "\\end"));
    EXPECT_EQ(system.expandCalls, c.calls) << c.length;
  }
  put("p", reg::kTypeExpandSz, "%a%-%b%, 50% of %A" + kNul);  // an unknown name stays
  put("none", reg::kTypeExpandSz, "" + kNul);
  auto r = op(RegOp::ExpandOnRead);
  EXPECT_EQ(r->Value("p"), DynamicValue("12345-%b%, 50% of %A"));
  EXPECT_EQ(r->Value("none"), DynamicValue(""));
}

TEST_F(RegOpNative, OnlyTheFirstHundredEnvironmentEntriesAreSearched) {
  system.environment.clear();
  for (int i = 1; i <= 100; ++i) system.environment.push_back("V" + std::to_string(i) + "=x");
  system.environment.push_back("LATE=x");
  system.environment.insert(system.environment.begin(), "=C:=C:\\");
  auto r = op();
  r->Value("hundredth", "%V99%");
  r->Value("late", "%LATE%");
  r->Value("drive", "%%");
  EXPECT_EQ(registry.value(reg::kCurrentUser, kKey, "hundredth")->type, reg::kTypeExpandSz);
  EXPECT_EQ(registry.value(reg::kCurrentUser, kKey, "late")->type, reg::kTypeSz);
  EXPECT_EQ(registry.value(reg::kCurrentUser, kKey, "drive")->type, reg::kTypeSz);
}

TEST_F(RegOpNative, DeleteKeyNeverDeletesBelowTheRootItself) {
  put("v", reg::kTypeSz, "x" + kNul, "Software");
  auto r = std::make_unique<RegOp>(registry, system, messages);
  r->Key("\\Software");
  EXPECT_FALSE(r->DeleteKey());
  EXPECT_TRUE(registry.keyExists(reg::kCurrentUser, "Software"));
}

}  // namespace
}  // namespace vcit
