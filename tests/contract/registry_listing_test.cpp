// RegOp's enumeration, counts and deletion, against every registry.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "registry_backends.h"

namespace vcit::testing {
namespace {

namespace reg = platform::reg;
using RegOpListing = RegistryContract;
VCIT_REGISTRY_CONTRACT(RegOpListing);

TEST_P(RegOpListing, ABareKeyListsNothing) {
  auto r = op("Bare");
  EXPECT_TRUE(r->AllValues().isEmpty());
  EXPECT_TRUE(r->AllKeys().isEmpty());
  EXPECT_EQ(r->ValueCount(), 0);
  EXPECT_EQ(r->KeyCount(), 0);
}

TEST_P(RegOpListing, AllValuesAndAllKeysListTheKey) {
  put("", "Text", reg::kTypeSz, "t" + kNul);
  put("", "Multi", reg::kTypeMultiSz, "a" + kNul + "b" + kNul + kNul);
  put("", "Bin", reg::kTypeBinary, "\x01");
  makeKey("Sub1");
  makeKey("Sub2\\Deeper");
  auto r = op("", RegOp::MultiStringAsArray);
  const DynamicValue all = r->AllValues();
  ASSERT_EQ(all.kind(), DynamicValue::Kind::kArray);
  ASSERT_EQ(all.array().rows, 3u);
  ASSERT_EQ(all.array().columns, 2u);
  std::map<std::string, DynamicValue> byName;  // the registry's order is its own
  for (std::size_t i = 0; i < 3; ++i)
    byName[all.array().items[2 * i].text()] = all.array().items[2 * i + 1];
  EXPECT_EQ(byName["Text"], DynamicValue("t"));
  EXPECT_EQ(byName["Multi"], DynamicValue(TextArray{"a", "b"}));
  EXPECT_EQ(byName["Bin"], DynamicValue("(unsupported data format)"));

  const DynamicValue keys = r->AllKeys();
  ASSERT_EQ(keys.kind(), DynamicValue::Kind::kArray);
  EXPECT_EQ(keys.array().columns, 0u);
  ASSERT_EQ(keys.array().items.size(), 2u);
  std::set<std::string> names{keys.array().items[0].text(), keys.array().items[1].text()};
  EXPECT_EQ(names, (std::set<std::string>{"Sub1", "Sub2"}));
  EXPECT_EQ(r->KeyCount(), 2);
  EXPECT_EQ(r->Value("text"), DynamicValue("t"));  // the selected key is unchanged
}

TEST_P(RegOpListing, AllValuesKeepTheRegistrysOrderAndADeletedSubkeyLeavesAnEmptyLastElement) {
  for (const char* name : {"m", "b", "z", "a"})
    put("", name, reg::kTypeSz, std::string(name) + kNul);
  for (const char* name : {"K2", "K1", "K3"}) makeKey(name);
  std::vector<std::string> order;  // the registry's own enumeration
  for (std::uint32_t i = 0; i < 4; ++i)
    order.push_back(registry().enumValue(handle(), i, 8, 8).name);

  auto r = op();
  const DynamicValue all = r->AllValues();
  ASSERT_EQ(all.kind(), DynamicValue::Kind::kArray);
  ASSERT_EQ(all.array().rows, 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(all.array().items[2 * i].text(), order[i]) << i;

  ASSERT_EQ(r->KeyCount(), 3);
  EXPECT_EQ(registry().deleteKey(handle(), "K2"), reg::kSuccess);  // by another program
  const DynamicValue keys = r->AllKeys();
  ASSERT_EQ(keys.kind(), DynamicValue::Kind::kArray);
  ASSERT_EQ(keys.array().items.size(), 3u);
  std::set<std::string> left{keys.array().items[0].text(), keys.array().items[1].text()};
  EXPECT_EQ(left, (std::set<std::string>{"K1", "K3"}));
  EXPECT_TRUE(keys.array().items[2].isEmpty());
}

TEST_P(RegOpListing, AfterDeleteValueTheNextReadEnumeratesTheKeyAgain) {
  put("", "v", reg::kTypeSz, "old" + kNul);
  put("", "w", reg::kTypeSz, "1" + kNul);
  auto r = op();
  EXPECT_EQ(r->Value("v"), DynamicValue("old"));
  EXPECT_TRUE(r->DeleteValue("w"));
  put("", "v", reg::kTypeSz, "changed" + kNul);  // by another program, after the delete
  EXPECT_EQ(r->Value("v"), DynamicValue("changed"));
  EXPECT_TRUE(r->Value("w").isEmpty());
}

TEST_P(RegOpListing, CountsFollowOwnChangesOnly) {
  put("", "a", reg::kTypeSz, "1" + kNul);
  auto r = op();
  EXPECT_EQ(r->ValueCount(), 1);
  EXPECT_EQ(r->KeyCount(), 0);
  makeKey("ByAnotherProgram");
  EXPECT_EQ(r->KeyCount(), 0);
  r->Value("b", "2");
  EXPECT_EQ(r->ValueCount(), 2);
  EXPECT_TRUE(r->DeleteValue("A"));
  EXPECT_EQ(r->ValueCount(), 1);
  EXPECT_FALSE(stored("", "a"));
}

TEST_P(RegOpListing, DeleteValueOfAMissingValueChangesNothing) {
  put("", "v", reg::kTypeSz, "old" + kNul);
  put("", "", reg::kTypeSz, "default" + kNul);
  auto r = op();
  EXPECT_EQ(r->ValueCount(), 2);
  EXPECT_FALSE(r->DeleteValue("missing"));
  EXPECT_EQ(r->ValueCount(), 2);
  EXPECT_TRUE(r->DeleteValue(""));
  EXPECT_FALSE(stored("", ""));
  EXPECT_EQ(r->ValueCount(), 1);
  EXPECT_EQ(r->Value("v"), DynamicValue("old"));
}

TEST_P(RegOpListing, DeleteKeyRemovesTheLeafTreeAndSelectsTheParent) {
  put("A\\B\\C", "deep", reg::kTypeSz, "1" + kNul);
  put("A\\Sibling", "s", reg::kTypeSz, "1" + kNul);
  put("A", "parentValue", reg::kTypeSz, "p" + kNul);
  auto r = op("A\\B");
  EXPECT_TRUE(r->DeleteKey());
  EXPECT_FALSE(exists("A\\B"));
  EXPECT_TRUE(exists("A\\Sibling"));
  EXPECT_EQ(r->Value("parentValue"), DynamicValue("p"));  // A is selected now
  EXPECT_EQ(r->KeyCount(), 1);
  EXPECT_TRUE(r->DeleteKey());  // A itself, with what is left below it
  EXPECT_FALSE(exists("A"));
  EXPECT_TRUE(exists());
}

TEST_P(RegOpListing, DeleteKeyOfAMissingLeafCreatesTheParent) {
  auto r = op("Parent\\Missing");
  EXPECT_FALSE(r->DeleteKey());
  EXPECT_TRUE(exists("Parent"));
  r->Value("v", "x");
  EXPECT_TRUE(stored("Parent", "v"));
}

TEST_P(RegOpListing, DeleteKeyRefusesTopLevelAndTrailingBackslashPaths) {
  const std::string top = "VCITTestsTop" + path().substr(path().rfind('_'));
  reg::Key key = 0;
  ASSERT_EQ(registry().createKey(kHkcu, top, "", 0, reg::kKeyAllAccess, key), reg::kSuccess);
  registry().closeKey(key);
  auto topOp = op(nullptr);
  topOp->Key(top);
  EXPECT_FALSE(topOp->DeleteKey());
  EXPECT_EQ(registry().openKey(kHkcu, top, 0, reg::kKeyRead, key), reg::kSuccess);
  registry().closeKey(key);
  registry().shellDeleteKey(kHkcu, top);

  makeKey("A\\B");
  auto trailing = op("A\\");
  EXPECT_FALSE(trailing->DeleteKey());
  EXPECT_TRUE(exists("A\\B"));
  trailing->Value("v", "x");  // still the same key
  EXPECT_TRUE(stored("A", "v"));
}

TEST_P(RegOpListing, WithoutTheShellLibraryOnlyKeysWithoutSubkeysAreDeleted) {
  makeKey("A\\B\\C");
  fakeSystem.librariesLoad = false;
  auto r = op("A\\B", 0, &fakeSystem);
  EXPECT_FALSE(r->DeleteKey());
  EXPECT_TRUE(exists("A\\B\\C"));
  r->Key(path("A\\B\\C"));
  EXPECT_TRUE(r->DeleteKey());
  EXPECT_FALSE(exists("A\\B\\C"));
  EXPECT_EQ(fakeSystem.librariesAsked, (std::vector<std::string>{"Shlwapi", "Shlwapi"}));
}

}  // namespace
}  // namespace vcit::testing
