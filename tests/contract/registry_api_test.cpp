// The registry calls behave as Windows' own: checked against the fake and, in the Windows
// build, against the real registry, so that the fake stays honest.
#include "registry_backends.h"

namespace vcit::testing {
namespace {

namespace reg = platform::reg;
using RegistryApi = RegistryContract;
VCIT_REGISTRY_CONTRACT(RegistryApi);

TEST_P(RegistryApi, CreateMakesTheWholePathOpenFailsForAMissingKey) {
  reg::Key key = 0;
  EXPECT_EQ(registry().openKey(kHkcu, path("A\\B"), 0, reg::kKeyRead, key), reg::kFileNotFound);
  EXPECT_EQ(key, 0u);
  ASSERT_EQ(registry().createKey(kHkcu, path("A\\B\\C"), "1", 0, reg::kKeyRead, key),
            reg::kSuccess);
  EXPECT_NE(key, 0u);
  EXPECT_EQ(registry().closeKey(key), reg::kSuccess);
  EXPECT_TRUE(exists("a\\b"));  // names match without regard to letter case
  EXPECT_TRUE(exists("A\\B\\C"));
  // Roots are 32-bit values; the 64-bit sign-extended form names the same root.
  ASSERT_EQ(registry().openKey(0xFFFFFFFF80000001ull, path("A"), 0, reg::kKeyRead, key),
            reg::kSuccess);
  registry().closeKey(key);
  // A path may end in a backslash, but not start with one.
  ASSERT_EQ(registry().createKey(kHkcu, path("T") + "\\", "", 0, reg::kKeyRead, key),
            reg::kSuccess);
  registry().closeKey(key);
  EXPECT_TRUE(exists("T"));
  EXPECT_NE(registry().createKey(kHkcu, "\\" + path("L"), "", 0, reg::kKeyRead, key),
            reg::kSuccess);
  EXPECT_EQ(key, 0u);
  EXPECT_FALSE(exists("L"));
}

TEST_P(RegistryApi, HandlesAllowWhatTheyWereOpenedFor) {
  put("", "v", reg::kTypeSz, std::string("x\0", 2));
  const reg::Key readOnly = handle("", reg::kKeyRead);
  EXPECT_EQ(registry().setValue(readOnly, "w", reg::kTypeSz, std::string("y\0", 2)),
            reg::kAccessDenied);
  EXPECT_EQ(registry().deleteValue(readOnly, "v"), reg::kAccessDenied);
  EXPECT_EQ(registry().queryValue(readOnly, "v", false, 0).status, reg::kSuccess);
  const reg::Key readWrite = handle("", reg::kKeyReadWrite);
  EXPECT_EQ(registry().setValue(readWrite, "w", reg::kTypeSz, std::string("y\0", 2)),
            reg::kSuccess);
  EXPECT_EQ(registry().closeKey(readWrite), reg::kSuccess);
  EXPECT_NE(registry().closeKey(readWrite), reg::kSuccess);
}

TEST_P(RegistryApi, InfoAndEnumerationBufferSizes) {
  put("", "ab", reg::kTypeSz, std::string("xyz\0", 4));
  put("", "longname", reg::kTypeBinary, "123456");
  makeKey("Sub");
  makeKey("Longer");
  const reg::Key key = handle("", reg::kKeyRead);
  platform::Registry::KeyInfo info;
  ASSERT_EQ(registry().queryInfoKey(key, info), reg::kSuccess);
  EXPECT_EQ(info.subKeys, 2u);
  EXPECT_EQ(info.maxSubKeyNameLength, 6u);  // without the NUL
  EXPECT_EQ(info.values, 2u);
  EXPECT_EQ(info.maxValueNameLength, 8u);
  EXPECT_GE(info.maxValueDataLength, 6u);  // Windows may report more for strings

  std::uint32_t binaryIndex = 0;
  for (std::uint32_t i = 0; i < 2; ++i)
    if (registry().enumValue(key, i, 100, 100).name == "longname") binaryIndex = i;
  // The name needs room for its NUL; the data needs its whole size.
  EXPECT_EQ(registry().enumValue(key, binaryIndex, 8, 100).status, reg::kMoreData);
  EXPECT_EQ(registry().enumValue(key, binaryIndex, 100, 5).status, reg::kMoreData);
  const auto found = registry().enumValue(key, binaryIndex, 9, 6);
  ASSERT_EQ(found.status, reg::kSuccess);
  EXPECT_EQ(found.name, "longname");
  EXPECT_EQ(found.type, reg::kTypeBinary);
  EXPECT_EQ(found.data, "123456");
  EXPECT_EQ(registry().enumValue(key, 2, 100, 100).status, reg::kNoMoreItems);

  std::string name;
  std::uint32_t longerIndex = 0;
  for (std::uint32_t i = 0; i < 2; ++i)
    if (registry().enumKey(key, i, 100, name) == reg::kSuccess && name == "Longer") longerIndex = i;
  EXPECT_EQ(registry().enumKey(key, longerIndex, 6, name), reg::kMoreData);
  ASSERT_EQ(registry().enumKey(key, longerIndex, 7, name), reg::kSuccess);
  EXPECT_EQ(name, "Longer");
  EXPECT_EQ(registry().enumKey(key, 2, 100, name), reg::kNoMoreItems);
}

TEST_P(RegistryApi, QueryAndSetKeepTextWithNulsAndNamesIgnoreCase) {
  const std::string multi("a\0b\0\0", 5);
  put("", "Multi", reg::kTypeMultiSz, multi);
  const reg::Key key = handle();
  const auto size = registry().queryValue(key, "MULTI", false, 0);
  ASSERT_EQ(size.status, reg::kSuccess);
  EXPECT_EQ(size.type, reg::kTypeMultiSz);
  EXPECT_EQ(size.size, 5u);
  EXPECT_EQ(registry().queryValue(key, "multi", true, 4).status, reg::kMoreData);
  const auto whole = registry().queryValue(key, "multi", true, 5);
  ASSERT_EQ(whole.status, reg::kSuccess);
  EXPECT_EQ(whole.data, multi);
  EXPECT_EQ(registry().queryValue(key, "missing", false, 0).status, reg::kFileNotFound);

  // Writing under another spelling replaces the value.
  put("", "MULTI", reg::kTypeSz, std::string("x\0", 2));
  platform::Registry::KeyInfo info;
  registry().queryInfoKey(key, info);
  EXPECT_EQ(info.values, 1u);
  EXPECT_EQ(stored("", "multi")->type, reg::kTypeSz);
}

TEST_P(RegistryApi, DeletionOfValuesKeysAndTrees) {
  put("", "v", reg::kTypeSz, std::string("1\0", 2));
  put("Tree\\Leaf", "w", reg::kTypeSz, std::string("2\0", 2));
  const reg::Key key = handle();
  EXPECT_EQ(registry().deleteValue(key, "V"), reg::kSuccess);
  EXPECT_EQ(registry().deleteValue(key, "v"), reg::kFileNotFound);
  EXPECT_FALSE(stored("", "v"));

  EXPECT_EQ(registry().deleteKey(key, "Tree"), reg::kAccessDenied);  // it has a subkey
  EXPECT_TRUE(exists("Tree\\Leaf"));
  EXPECT_EQ(registry().deleteKey(key, "Missing"), reg::kFileNotFound);
  EXPECT_EQ(registry().shellDeleteKey(key, "tree"), reg::kSuccess);
  EXPECT_FALSE(exists("Tree"));
  EXPECT_NE(registry().shellDeleteKey(key, "Tree"), reg::kSuccess);
  makeKey("Bare");
  EXPECT_EQ(registry().deleteKey(key, "Bare"), reg::kSuccess);
  EXPECT_FALSE(exists("Bare"));
}

}  // namespace
}  // namespace vcit::testing
