// When a window keeps the fixed colours of its design, and when it takes the scheme's instead.

#include <gtest/gtest.h>

#include <vector>

#include "ui/contrast.h"

namespace vcit::ui {
namespace {

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kWineFace{240, 240, 240};
constexpr Rgb kGrey118{118, 118, 118}, kGrey119{119, 119, 119};

TEST(DesignedColours, HoldUnlessHighContrastOrAFixedTextFallsBelowWcagsRatio) {
  struct Ratio {
    Rgb a, b;
    double ratio;
  };
  // Grey 118 is the lightest that reads on white; 10 lies on the sRGB curve's straight part;
  // red and blue count by their own weights.
  const Ratio ratios[] = {
      {kBlack, kWhite, 21.0},       {kWhite, kBlack, 21.0},        {kGrey118, kWhite, 4.542},
      {kGrey119, kWhite, 4.478},    {{10, 10, 10}, kBlack, 1.061}, {{255, 0, 0}, kBlack, 5.252},
      {{0, 0, 255}, kBlack, 2.444},
  };
  for (const Ratio& r : ratios) EXPECT_NEAR(contrastRatio(r.a, r.b), r.ratio, 0.001) << r.ratio;

  struct Case {
    bool highContrast;
    std::vector<FixedInk> text;
    bool hold;
  };
  const Case cases[] = {
      {false, {{kBlack, kWineFace}}, true},
      {false, {}, true},
      {true, {{kBlack, kWineFace}}, false},
      {false, {{kBlack, {0, 0, 128}}}, false},  // black on navy
      {false, {{kBlack, kWineFace}, {kBlack, kBlack}}, false},
      {false, {{kGrey118, kWhite}}, true},
      {false, {{kGrey119, kWhite}}, false},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(designedColoursHold(cases[i].highContrast, cases[i].text), cases[i].hold)
        << "case " << i;
}

}  // namespace
}  // namespace vcit::ui
