// Letter case as Windows matches names (CompareStringOrdinal with ignore-case), and the fake's
// table against it for every character of the Basic Multilingual Plane.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
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
// such run must be one class of the fake's table, and the table must merge nothing more.
TEST(LetterCaseWin32Test, TheFakesTableAgreesWithTheSystemOnEveryCharacterOfThePlane) {
  std::vector<wchar_t> units;
  for (unsigned c = 1; c < 0x10000; ++c)
    if (c < 0xD800 || c > 0xDFFF) units.push_back(static_cast<wchar_t>(c));
  const auto compare = [](wchar_t a, wchar_t b) {
    return CompareStringOrdinal(&a, 1, &b, 1, TRUE) - CSTR_EQUAL;
  };
  std::sort(units.begin(), units.end(), [&](wchar_t a, wchar_t b) { return compare(a, b) < 0; });
  const auto folded = [](wchar_t c) { return text::foldCase(win32::narrow(&c, 1)); };

  std::vector<int> run(0x10000, -1);
  int runs = 0, merged = 0;
  for (std::size_t i = 0; i < units.size(); ++runs) {
    std::size_t j = i + 1;
    while (j < units.size() && compare(units[i], units[j]) == 0) ++j;
    if (j - i > 1) ++merged;
    for (std::size_t k = i; k < j; ++k) {
      run[units[k]] = runs;
      EXPECT_EQ(folded(units[k]), folded(units[i]))
          << std::hex << "U+" << int(units[k]) << " and U+" << int(units[i]);
    }
    i = j;
  }
  for (const wchar_t c : units) {
    const std::wstring back = win32::widen(folded(c));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(run[back[0]], run[c]) << std::hex << "U+" << int(c) << " folds to U+" << int(back[0]);
  }
  RecordProperty("ClassesOfMoreThanOne", merged);
  EXPECT_GT(merged, 1000);
}

}  // namespace
}  // namespace vcit::platform
