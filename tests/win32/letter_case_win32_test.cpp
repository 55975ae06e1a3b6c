// Letter case as Windows matches names (CompareStringOrdinal with ignore-case), and the fake's
// table and the system's own fold against it for every character of the Basic Multilingual Plane.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/text.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_system.h"
#include "support/case_samples.h"
#include "support/letter_case_checks.h"

namespace vcit::platform {
namespace {

using testing::kCaseSamples;

TEST(LetterCaseWin32Test, TheSystemMatchesTheSamplesAsTheFakeDoes) {
  Win32System system;
  for (const auto& s : kCaseSamples) {
    EXPECT_EQ(system.compareIgnoringCase(s.a, s.b) == 0, s.same) << s.what;
    EXPECT_EQ(system.compareIgnoringCase(s.a, s.b), -system.compareIgnoringCase(s.b, s.a))
        << s.what;
  }
  EXPECT_LT(system.compareIgnoringCase("abc", "ABCD"), 0);
  EXPECT_GT(system.compareIgnoringCase("b", "A"), 0);
}

TEST(LetterCaseWin32Test, RegOpMatchesValueNamesAndKeyPathsAsTheSystemDoes) {
  Win32System system;
  vcit::testing::expectRegOpMatchesNamesAsTheSystemDoes(system);
}

// Sorted by the system's comparison, the characters that it matches stand side by side: each
// such run must fold to one text, and no two runs to the same.
void expectFoldGivesTheSystemsClassesOnEveryCharacterOfThePlane(
    const std::function<std::string(const std::string&)>& fold) {
  std::vector<wchar_t> units;
  for (unsigned c = 1; c < 0x10000; ++c)
    if (c < 0xD800 || c > 0xDFFF) units.push_back(static_cast<wchar_t>(c));
  const auto compare = [](wchar_t a, wchar_t b) {
    return CompareStringOrdinal(&a, 1, &b, 1, TRUE) - CSTR_EQUAL;
  };
  std::sort(units.begin(), units.end(), [&](wchar_t a, wchar_t b) { return compare(a, b) < 0; });
  const auto folded = [&](wchar_t c) { return fold(win32::narrow(&c, 1)); };

  std::map<std::string, int> runOfFold;
  int runs = 0, merged = 0;
  for (std::size_t i = 0; i < units.size(); ++runs) {
    std::size_t j = i + 1;
    while (j < units.size() && compare(units[i], units[j]) == 0) ++j;
    if (j - i > 1) ++merged;
    const std::string key = folded(units[i]);
    for (std::size_t k = i + 1; k < j; ++k)
      EXPECT_EQ(folded(units[k]), key)
          << std::hex << "U+" << int(units[k]) << " and U+" << int(units[i]);
    const auto [other, added] = runOfFold.emplace(key, runs);
    EXPECT_TRUE(added) << std::hex << "U+" << int(units[i]) << " folds as another run does";
    i = j;
  }
  EXPECT_GT(merged, 1000);
}

TEST(LetterCaseWin32Test, TheFakesTableAgreesWithTheSystemOnEveryCharacterOfThePlane) {
  expectFoldGivesTheSystemsClassesOnEveryCharacterOfThePlane(
      [](const std::string& s) { return text::foldCase(s); });
}

// The value cache matches names by this fold: it must merge what the system's comparison
// merges and nothing more.
TEST(LetterCaseWin32Test, TheSystemsFoldAgreesWithItsComparisonOnEveryCharacterOfThePlane) {
  Win32System system;
  expectFoldGivesTheSystemsClassesOnEveryCharacterOfThePlane(
      [&](const std::string& s) { return system.foldCase(s); });
  for (const auto& s : kCaseSamples)
    EXPECT_EQ(system.foldCase(s.a) == system.foldCase(s.b), s.same) << s.what;
}

}  // namespace
}  // namespace vcit::platform
