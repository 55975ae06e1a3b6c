// Letter case as names match in the registry class: the fake's table (the system's own
// comparison on Windows, tests/win32) in the value cache and in Key.
#include <gtest/gtest.h>

#include "core/text.h"
#include "platform/fake/fake_system.h"
#include "support/case_samples.h"
#include "support/letter_case_checks.h"

namespace vcit {
namespace {

using testing::kCaseSamples;

TEST(LetterCaseTest, CapitalsMatchTheirSmallLettersInEveryScriptOfThePlane) {
  for (const auto& s : kCaseSamples) {
    EXPECT_EQ(text::equalsIgnoreCase(s.a, s.b), s.same) << s.what;
    EXPECT_EQ(text::foldCase(s.a) == text::foldCase(s.b), s.same) << s.what;
    EXPECT_EQ(text::compareIgnoreCase(s.a, s.b) == 0, s.same) << s.what;
    EXPECT_EQ(text::compareIgnoreCase(s.a, s.b), -text::compareIgnoreCase(s.b, s.a)) << s.what;
  }
  EXPECT_LT(text::compareIgnoreCase("abc", "ABCD"), 0);
  EXPECT_GT(text::compareIgnoreCase("b", "A"), 0);
}

// The value cache and Key compare names with the system's comparison (here the fake's).
TEST(LetterCaseTest, RegOpMatchesValueNamesAndKeyPathsInOtherScripts) {
  platform::FakeSystem system;
  testing::expectRegOpMatchesNamesAsTheSystemDoes(system);
}

}  // namespace
}  // namespace vcit
