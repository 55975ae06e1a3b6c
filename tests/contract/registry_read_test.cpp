// RegOp's key selection and reads, against every registry.
#include <cctype>

#include "registry_backends.h"

namespace vcit::testing {
namespace {

namespace reg = platform::reg;
using RegOpRead = RegistryContract;
VCIT_REGISTRY_CONTRACT(RegOpRead);

TEST_P(RegOpRead, ReadingAMissingKeyCreatesItEmpty) {
  auto r = op("Missing\\Deeper");
  EXPECT_FALSE(exists("Missing"));
  EXPECT_TRUE(r->Value("anything").isEmpty());
  EXPECT_TRUE(exists("Missing\\Deeper"));
  EXPECT_TRUE(messages.shown().empty());
}

TEST_P(RegOpRead, EachRegistryTypeConverts) {
  put("", "Text", reg::kTypeSz, "hello" + kNul);
  put("", "", reg::kTypeSz, "default" + kNul);
  put("", "Binary", reg::kTypeBinary, "\x01\x02");
  putDword("", "Minus", 0xFFFFFFFFu);
  putDword("", "Five", 5);
  put("", "Embedded", reg::kTypeSz, "ab" + kNul + "cd" + kNul);
  put("", "Multi", reg::kTypeMultiSz, "a" + kNul + "b" + kNul + kNul);
  put("", "EmptyMulti", reg::kTypeMultiSz, kNul + kNul);
  put("", "Gap", reg::kTypeMultiSz, "a" + kNul + kNul + "b" + kNul + kNul);
  put("", "Link", reg::kTypeLink, "x");
  auto r = op();
  EXPECT_EQ(r->Value("TEXT"), DynamicValue("hello"));
  EXPECT_EQ(r->Value(""), DynamicValue("default"));
  EXPECT_EQ(r->Value("binary"), DynamicValue("(unsupported data format)"));
  EXPECT_EQ(r->Value("Link"), DynamicValue("(unsupported data format)"));
  EXPECT_EQ(r->Value("Minus"), DynamicValue(std::int32_t{-1}));
  EXPECT_EQ(r->Value("Five"), DynamicValue(std::int32_t{5}));
  EXPECT_EQ(r->Value("Embedded"), DynamicValue("ab"));
  EXPECT_EQ(r->Value("Multi"), DynamicValue("a" + kNul + "b"));
  EXPECT_EQ(r->Value("EmptyMulti"), DynamicValue(""));
  EXPECT_EQ(r->Value("Gap"), DynamicValue("a"));
  EXPECT_TRUE(r->Value("NoSuchValue").isEmpty());
}

// Options 15 sets all four: multi-strings as arrays, expansion, numbers stored as text and
// errors shown.
TEST_P(RegOpRead, AllFourOptionsTakeEffectAtOnceAndOptionsOutOfRangeAreIgnored) {
  put("", "Multi", reg::kTypeMultiSz, "a" + kNul + "b" + kNul + kNul);
  put("", "EmptyMulti", reg::kTypeMultiSz, kNul + kNul);
  put("", "Path", reg::kTypeExpandSz, "%TEMP%\\x" + kNul);
  auto r = op("", 15);
  r->Options(16);
  r->Options(-1);
  EXPECT_EQ(r->Value("multi"), DynamicValue(TextArray{"a", "b"}));
  EXPECT_EQ(r->Value("EmptyMulti"), DynamicValue(TextArray{}));
  EXPECT_EQ(r->Value("Path"), DynamicValue(environmentVariable("TEMP") + "\\x"));
  r->Value("Number", DynamicValue(std::int32_t{7}));
  EXPECT_EQ(stored("", "Number")->type, reg::kTypeSz);
  r->Key("\\" + path());  // cannot be opened
  EXPECT_TRUE(r->Value("Multi").isEmpty());
  EXPECT_EQ(messages.shown().size(), 1u);
}

TEST_P(RegOpRead, ExpandableTextExpandsOnlyWhenAsked) {
  const std::string temp = environmentVariable("TEMP");
  ASSERT_FALSE(temp.empty()) << "the environment has no TEMP";
  put("", "Path", reg::kTypeExpandSz, "%TEMP%\\x" + kNul);
  EXPECT_EQ(op()->Value("Path"), DynamicValue("%TEMP%\\x"));
  EXPECT_EQ(op("", RegOp::ExpandOnRead)->Value("Path"), DynamicValue(temp + "\\x"));
}

TEST_P(RegOpRead, AnExpansionLongerThan1024BytesIsGivenWhole) {
  const std::string temp = environmentVariable("TEMP");
  std::string stored, expanded;
  while (expanded.size() <= 1100) {
    stored += "%TEMP%;";
    expanded += temp + ";";
  }
  put("", "Long", reg::kTypeExpandSz, stored + kNul);
  EXPECT_EQ(op("", RegOp::ExpandOnRead)->Value("Long"), DynamicValue(expanded));
}

TEST_P(RegOpRead, SameKeyInOtherCaseKeepsTheCacheAnotherKeyReopens) {
  put("", "v", reg::kTypeSz, "old" + kNul);
  put("Other", "v", reg::kTypeSz, "other" + kNul);
  auto r = op();
  EXPECT_EQ(r->Value("v"), DynamicValue("old"));
  put("", "v", reg::kTypeSz, "new" + kNul);  // another program's change
  std::string upper = path();
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  r->Key(upper);
  EXPECT_EQ(r->Value("v"), DynamicValue("old"));
  r->Key(path("Other"));
  EXPECT_EQ(r->Value("v"), DynamicValue("other"));
  r->Key(path());
  EXPECT_EQ(r->Value("v"), DynamicValue("new"));
}

TEST_P(RegOpRead, RootsOutsideTheThreeSelectCurrentUser) {
  put("", "v", reg::kTypeSz, "user" + kNul);
  for (const std::uint32_t other : {0u, reg::kUsers, 0x12345u}) {
    auto r = op(nullptr);
    r->Root(reg::kLocalMachine);  // no key yet: nothing is opened
    r->Root(other);
    r->Key(path());
    EXPECT_EQ(r->Value("v"), DynamicValue("user")) << other;
  }
}

TEST_P(RegOpRead, ChangingTheRootWithAKeySelectedOpensTheKeyUnderTheNewRootAtOnce) {
  auto r = op();
  r->Root(kHkcu);  // its value already: nothing happens, nothing is created
  EXPECT_FALSE(exists());

  r->Root(reg::kLocalMachine);
  reg::Key machine = 0;
  ASSERT_EQ(registry().openKey(reg::kLocalMachine, path(), 0, reg::kKeyAllAccess, machine),
            reg::kSuccess)
      << "created at once";
  EXPECT_FALSE(exists()) << "not under the old root";
  registry().setValue(machine, "v", reg::kTypeSz, "first" + kNul);

  r->Root(kHkcu);
  EXPECT_TRUE(exists()) << "opened under HKCU at once";
  EXPECT_TRUE(r->Value("v").isEmpty());
  r->Root(reg::kLocalMachine);
  EXPECT_EQ(r->Value("v"), DynamicValue("first"));
  registry().setValue(machine, "v", reg::kTypeSz, "second" + kNul);
  r->Root(reg::kLocalMachine);  // again its value: the key is not reopened, the cache stays
  EXPECT_EQ(r->Value("v"), DynamicValue("first"));
  registry().closeKey(machine);
  registry().shellDeleteKey(reg::kLocalMachine, path());
  reg::Key software = 0;
  registry().openKey(reg::kLocalMachine, "Software", 0, reg::kKeyAllAccess, software);
  registry().deleteKey(software, "VCITTests");  // only when no other test key is left in it
  registry().closeKey(software);
}

TEST_P(RegOpRead, AKeyThatCannotBeOpenedIsSilentAtKeyAndNoticedAtTheFirstOperation) {
  // A path that begins with a backslash is refused by the registry.
  auto r = op(nullptr, RegOp::ShowErrors);
  r->Key("\\" + path());
  r->Key("\\" + path("Other"));  // a second path is opened at once, and fails as silently
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_TRUE(r->Value("v").isEmpty());
  ASSERT_EQ(messages.shown().size(), 1u);
  EXPECT_EQ(messages.shown()[0].text, "Could not open Registry Key!");
  EXPECT_FALSE(exists());
}

TEST_P(RegOpRead, ErrorsShownOnlyWithShowErrors) {
  auto quiet = op(nullptr);
  EXPECT_TRUE(quiet->Value("v").isEmpty());
  EXPECT_EQ(quiet->ValueCount(), 0);
  EXPECT_TRUE(messages.shown().empty());

  auto loud = op(nullptr, RegOp::ShowErrors);
  EXPECT_TRUE(loud->Value("v").isEmpty());
  EXPECT_EQ(loud->ValueCount(), 0);
  ASSERT_EQ(messages.shown().size(), 2u);
  for (const auto& m : messages.shown()) {
    EXPECT_EQ(m.text, "No Key name specified!");
    EXPECT_EQ(m.title, "Registry Error");
    EXPECT_EQ(m.style, 48u);
  }
}

}  // namespace
}  // namespace vcit::testing
