#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "core/dynamic_value.h"
#include "core/runtime_error.h"
#include "core/text.h"
#include "support/error_of.h"

namespace vcit {
namespace {

TEST(DynamicValueText, EveryScalarKindHasItsTextForm) {
  EXPECT_EQ(DynamicValue().toText(), "");
  EXPECT_EQ(DynamicValue(std::int16_t{-7}).toText(), "-7");
  EXPECT_EQ(DynamicValue(std::int32_t{-2147483647 - 1}).toText(), "-2147483648");
  EXPECT_EQ(DynamicValue(1.5).toText(), "1.5");
  EXPECT_EQ(DynamicValue(0.1).toText(), "0.1");
  EXPECT_EQ(DynamicValue(1e20).toText(), "1E+20");
  EXPECT_EQ(DynamicValue(Currency{-12345}).toText(), "-1.2345");
  EXPECT_EQ(DynamicValue(Currency{50000}).toText(), "5");
  EXPECT_EQ(DynamicValue(Date{2.5}).toText(), "1900-01-01 12:00:00");
  EXPECT_EQ(DynamicValue(true).toText(), "True");
  EXPECT_EQ(DynamicValue(std::uint8_t{255}).toText(), "255");
  EXPECT_EQ(DynamicValue("abc").toText(), "abc");
}

TEST(DynamicValueText, NullArraysAndObjectsHaveNone) {
  EXPECT_EQ(errorOf([] { DynamicValue::null().toText(); }), 94);
  EXPECT_EQ(errorOf([] { DynamicValue(TextArray{"a"}).toText(); }), 13);
  EXPECT_EQ(errorOf([] { DynamicValue(ValueArray{}).toText(); }), 13);
  EXPECT_EQ(errorOf([] { DynamicValue(ObjectRef{}).toText(); }), 13);
}

TEST(DynamicValueLong, RoundsHalfToEvenAndChecksRange) {
  EXPECT_EQ(DynamicValue("2.5").toLong(), 2);
  EXPECT_EQ(DynamicValue("3.5").toLong(), 4);
  EXPECT_EQ(DynamicValue(-2.5).toLong(), -2);
  EXPECT_EQ(DynamicValue(Currency{25000}).toLong(), 2);
  EXPECT_EQ(DynamicValue(Currency{35000}).toLong(), 4);
  EXPECT_EQ(DynamicValue(" 42 ").toLong(), 42);
  EXPECT_EQ(DynamicValue("&HFF").toLong(), 255);
  EXPECT_EQ(DynamicValue("&HFFFFFFFF").toLong(), -1);
  EXPECT_EQ(DynamicValue(true).toLong(), -1);
  EXPECT_EQ(DynamicValue("2147483647").toLong(), 2147483647);
  EXPECT_EQ(errorOf([] { DynamicValue("2147483648").toLong(); }), 6);
  EXPECT_EQ(errorOf([] { DynamicValue(-3e9).toLong(); }), 6);
  EXPECT_EQ(errorOf([] { DynamicValue("abc").toLong(); }), 13);
  EXPECT_EQ(errorOf([] { DynamicValue("1e999").toLong(); }), 13);
  EXPECT_EQ(errorOf([] { DynamicValue("").toLong(); }), 13);
  EXPECT_EQ(errorOf([] { DynamicValue(TextArray{}).toLong(); }), 13);
  EXPECT_EQ(errorOf([] { DynamicValue::null().toLong(); }), 94);
}

TEST(DynamicValueLong, ConvertsAtTheWidthLimits) {
  // Up to four hexadecimal digits are a 16-bit pattern, more a 32-bit one; octal up to 0xFFFF.
  EXPECT_EQ(DynamicValue("&H7FFF").toLong(), 32767);
  EXPECT_EQ(DynamicValue("&HFFFF").toLong(), -1);
  EXPECT_EQ(DynamicValue("&H0FFFF").toLong(), 65535);
  EXPECT_EQ(DynamicValue("&O177777").toLong(), -1);
  EXPECT_EQ(DynamicValue("&O200000").toLong(), 65536);
  EXPECT_EQ(DynamicValue("&H80000000").toLong(), -2147483647 - 1);
  EXPECT_EQ(errorOf([] { DynamicValue("&H100000000").toLong(); }), 13);
  EXPECT_EQ(DynamicValue("&H09afAF").toLong(), 0x09AFAF);  // each end of each digit range
  EXPECT_EQ(errorOf([] { DynamicValue("&Hg").toLong(); }), 13);
  EXPECT_EQ(errorOf([] { DynamicValue("&O8").toLong(); }), 13);
  // The 32-bit range from both ends, also where rounding reaches it.
  EXPECT_EQ(DynamicValue("-2147483648").toLong(), -2147483647 - 1);
  EXPECT_EQ(errorOf([] { DynamicValue("-2147483649").toLong(); }), 6);
  EXPECT_EQ(DynamicValue(-2147483648.5).toLong(), -2147483647 - 1);
  EXPECT_EQ(errorOf([] { DynamicValue(2147483647.5).toLong(); }), 6);
  EXPECT_EQ(DynamicValue(Currency{21474836474999}).toLong(), 2147483647);
  EXPECT_EQ(errorOf([] { DynamicValue(Currency{21474836475000}).toLong(); }), 6);
  EXPECT_EQ(DynamicValue(Currency{-21474836485000}).toLong(), -2147483647 - 1);
  EXPECT_EQ(errorOf([] { DynamicValue(Currency{-21474836485001}).toLong(); }), 6);
  EXPECT_EQ(DynamicValue(Currency{-25000}).toLong(), -2);
  EXPECT_EQ(DynamicValue(Currency{-35000}).toLong(), -4);
}

TEST(RuntimeErrorText, EveryNumberReportsItsOwnDescription) {
  const std::pair<int, const char*> texts[] = {{5, "Invalid procedure call or argument"},
                                               {6, "Overflow"},
                                               {7, "Out of memory"},
                                               {13, "Type mismatch"},
                                               {51, "Internal error"},
                                               {52, "Bad file name or number"},
                                               {53, "File not found"},
                                               {55, "File already open"},
                                               {57, "Device I/O error"},
                                               {61, "Disk full"},
                                               {63, "Bad record number"},
                                               {70, "Permission denied"},
                                               {75, "Path/File access error"},
                                               {76, "Path not found"},
                                               {94, "Invalid use of Null"},
                                               {340, "Control array element does not exist"},
                                               {380, "Invalid property value"},
                                               {440, "Automation error"},
                                               {1, "Application-defined or object-defined error"}};
  for (const auto& [number, description] : texts) {
    EXPECT_EQ(describeError(number), description) << number;
    EXPECT_EQ(RuntimeError(number).description(), description) << number;
  }
}

TEST(DynamicValueNumeric, TellsNumbersFromOtherText) {
  EXPECT_TRUE(DynamicValue("5").isNumeric());
  EXPECT_TRUE(DynamicValue("-1.5E3").isNumeric());
  EXPECT_TRUE(DynamicValue(std::int16_t{1}).isNumeric());
  EXPECT_FALSE(DynamicValue("5x").isNumeric());
  EXPECT_FALSE(DynamicValue(".").isNumeric());
  EXPECT_FALSE(DynamicValue("1e").isNumeric());
  EXPECT_FALSE(DynamicValue(TextArray{}).isNumeric());
}

TEST(Text, FoldsCaseBeyondAscii) {
  EXPECT_TRUE(text::equalsIgnoreCase("Software\\VCIT", "SOFTWARE\\vcit"));
  EXPECT_TRUE(text::equalsIgnoreCase("\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89"));  // Été
  EXPECT_FALSE(text::equalsIgnoreCase("abc", "abcd"));
  EXPECT_EQ(text::foldCase("\xD0\x96"), "\xD0\xB6");  // Ж
}

TEST(Text, CountsAndCutsCharactersNotBytes) {
  const std::string s = "a\xC3\xA9z";  // aéz
  EXPECT_EQ(text::length(s), 3u);
  EXPECT_EQ(text::substr(s, 1, 1), "\xC3\xA9");
  EXPECT_EQ(text::substr(s, 2, 5), "z");
  EXPECT_EQ(text::trimSpaces("  a b  "), "a b");
  EXPECT_EQ(text::trimSpaces("\ta "), "\ta");
  EXPECT_TRUE(text::isBlank("   "));
}

}  // namespace
}  // namespace vcit
