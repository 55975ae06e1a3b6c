// RegOp's writes: the type written follows from the value, the value it replaces and the
// options. Against every registry.
#include "registry_backends.h"
#include "support/error_of.h"

namespace vcit::testing {
namespace {

namespace reg = platform::reg;
using RegOpWrite = RegistryContract;
VCIT_REGISTRY_CONTRACT(RegOpWrite);

std::string escaped(const std::string& bytes) {
  std::string out;
  for (const char c : bytes) out += c == '\0' ? std::string("\\0") : std::string(1, c);
  return out;
}

// The stored type and data of a value ("4:\\0..."), "missing" when there is none.
std::string show(const std::optional<platform::Registry::Queried>& q) {
  return q ? std::to_string(q->type) + ":" + escaped(q->data) : "missing";
}

std::string dword(std::uint32_t v) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
  return "4:" + escaped(bytes);
}

TEST_P(RegOpWrite, NewValuesTakeTheTypeOfTheirKind) {
  auto r = op();
  r->Value("Long", std::int32_t{5});
  r->Value("Integer", std::int16_t{-2});
  r->Value("Text", "5");
  r->Value("Double", 2.5);
  r->Value("Bool", true);
  r->Value("", std::int32_t{7});  // the default value is always text
  EXPECT_EQ(show(stored("", "Long")), dword(5));
  EXPECT_EQ(show(stored("", "Integer")), dword(0xFFFFFFFEu));
  EXPECT_EQ(show(stored("", "Text")), "1:5\\0");
  EXPECT_EQ(show(stored("", "Double")), "1:2.5\\0");
  EXPECT_EQ(show(stored("", "Bool")), "1:True\\0");
  EXPECT_EQ(show(stored("", "")), "1:7\\0");
  EXPECT_EQ(r->Value("long"), DynamicValue(std::int32_t{5}));
}

TEST_P(RegOpWrite, ExistingTypesConvertTheValue) {
  putDword("", "D", 1);
  put("", "S", reg::kTypeSz, "x" + kNul);
  put("", "M", reg::kTypeMultiSz, "a" + kNul + kNul);
  auto r = op();
  r->Value("D", "5");
  EXPECT_EQ(show(stored("", "D")), dword(5));
  r->Value("D", "2.5");
  EXPECT_EQ(show(stored("", "D")), dword(2));  // a half rounds to the even integer
  r->Value("D", 3.5);
  EXPECT_EQ(show(stored("", "D")), dword(4));
  r->Value("S", std::int32_t{5});
  EXPECT_EQ(show(stored("", "S")), "1:5\\0");
  r->Value("M", "plain");
  EXPECT_EQ(show(stored("", "M")), "1:plain\\0");

  EXPECT_EQ(errorOf([&] { r->Value("D", "abc"); }), 13);
  EXPECT_EQ(errorOf([&] { r->Value("D", 3e10); }), 6);
  EXPECT_EQ(errorOf([&] { r->Value("D", DynamicValue::null()); }), 94);
  EXPECT_EQ(errorOf([&] { r->Value("S", TextArray{"a"}); }), 13);
  EXPECT_EQ(errorOf([&] { r->Value("New", DynamicValue::null()); }), 94);
  EXPECT_EQ(show(stored("", "D")), dword(4));
  EXPECT_EQ(show(stored("", "S")), "1:5\\0");
  EXPECT_FALSE(stored("", "New"));
}

TEST_P(RegOpWrite, UnsupportedExistingTypeIsNotOverwritten) {
  put("", "Bin", reg::kTypeBinary, "\x01\x02");
  auto r = op("", RegOp::ShowErrors);
  r->Value("Bin", "text");
  EXPECT_EQ(show(stored("", "Bin")), "3:\x01\x02");
  ASSERT_EQ(messages.texts(),
            std::vector<std::string>{
                "Existing value has unsupported data type and will not be overwritten"});
  EXPECT_EQ(messages.shown()[0].title, "Registry Error");
}

TEST_P(RegOpWrite, StoreNumbersAsTextReplacesADword) {
  putDword("", "D", 1);
  auto r = op("", RegOp::StoreNumbersAsText);
  r->Value("D", std::int32_t{5});
  r->Value("New", "12");
  EXPECT_EQ(show(stored("", "D")), "1:5\\0");
  EXPECT_EQ(show(stored("", "New")), "1:12\\0");
}

TEST_P(RegOpWrite, ArraysBecomeMultiStrings) {
  auto r = op("", RegOp::MultiStringAsArray);
  r->Value("Two", TextArray{"a", "b"});
  r->Value("None", TextArray{});
  EXPECT_EQ(show(stored("", "Two")), "7:a\\0b\\0\\0");
  EXPECT_EQ(stored("", "Two")->size, 5u);
  EXPECT_EQ(show(stored("", "None")), "7:\\0\\0");
  EXPECT_EQ(r->Value("two"), DynamicValue(TextArray{"a", "b"}));
  EXPECT_EQ(r->Value("None"), DynamicValue(TextArray{}));
}

TEST_P(RegOpWrite, EnvironmentReferencesMakeExpandableText) {
  auto r = op();
  r->Value("Temp", "%TEMP%\\x");
  r->Value("Lower", "%temp%");
  r->Value("Percent", "100%");
  r->Value("Unknown", "%VCIT_NO_SUCH_VARIABLE%\\x");
  EXPECT_EQ(show(stored("", "Temp")), "2:%TEMP%\\x\\0");
  EXPECT_EQ(show(stored("", "Lower")), "2:%temp%\\0");
  EXPECT_EQ(show(stored("", "Percent")), "1:100%\\0");
  EXPECT_EQ(show(stored("", "Unknown")), "1:%VCIT_NO_SUCH_VARIABLE%\\x\\0");
}

TEST_P(RegOpWrite, ALongerValueReadsBackWhole) {
  put("", "short", reg::kTypeSz, "s" + kNul);
  auto r = op();
  EXPECT_EQ(r->Value("short"), DynamicValue("s"));
  const std::string longText(3000, 'L');
  r->Value("LongerThanEveryNameBefore", longText);
  EXPECT_EQ(r->Value("longerthaneverynamebefore"), DynamicValue(longText));
  r->Value("short", longText + "!");
  EXPECT_EQ(r->Value("short"), DynamicValue(longText + "!"));
}

TEST_P(RegOpWrite, EmptyValueWritesNothingEvenWithoutAKey) {
  auto noKey = op(nullptr, RegOp::ShowErrors);
  noKey->Value("v", DynamicValue());
  EXPECT_TRUE(messages.shown().empty());
  noKey->Value("v", "x");
  EXPECT_EQ(messages.texts(), std::vector<std::string>{"No Key name specified!"});
  auto r = op();
  r->Value("v", DynamicValue());
  EXPECT_FALSE(stored("", "v"));
}

}  // namespace
}  // namespace vcit::testing
