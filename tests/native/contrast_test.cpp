// The rule by which a window keeps the fixed colours of its design or takes the scheme's.

#include <gtest/gtest.h>

#include <vector>

#include "ui/contrast.h"

namespace vcit::ui {
namespace {

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255};

TEST(DesignedColours, ContrastIsWcagsRatioOfRelativeLuminances) {
  struct Case {
    Rgb a, b;
    double ratio;
  };
  const Case cases[] = {
      {kBlack, kWhite, 21.0},
      {kWhite, kBlack, 21.0},  // either order
      {{90, 90, 90}, {90, 90, 90}, 1.0},
      {{118, 118, 118}, kWhite, 4.542},  // the lightest grey that reads on white
      {{119, 119, 119}, kWhite, 4.478},
      {kBlack, {240, 240, 240}, 18.427},  // Wine's face colour
      {kBlack, {212, 208, 200}, 13.656},  // the face of Windows' classic scheme
      {kBlack, {0, 0, 128}, 1.312},       // navy
      {{10, 10, 10}, kBlack, 1.061},      // the curve's straight part
      {{255, 0, 0}, kBlack, 5.252},       // each channel by its own weight
      {{0, 255, 0}, kWhite, 1.372},
      {{0, 0, 255}, kBlack, 2.444},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(contrastRatio(c.a, c.b), c.ratio, 0.001)
        << int(c.a.red) << "," << int(c.a.green) << "," << int(c.a.blue) << " on " << int(c.b.red)
        << "," << int(c.b.green) << "," << int(c.b.blue);
}

TEST(DesignedColours, HoldUnlessHighContrastOrAnyFixedTextIsHardToRead) {
  struct Case {
    bool highContrast;
    std::vector<FixedInk> text;
    bool hold;
    const char* what;
  };
  const Case cases[] = {
      {false, {{kBlack, {240, 240, 240}}}, true, "black on the usual face"},
      {false, {}, true, "nothing fixed"},
      {true, {}, false, "high contrast"},
      {true, {{kBlack, {240, 240, 240}}}, false, "high contrast, though readable"},
      {false, {{kBlack, kBlack}}, false, "black on a black face"},
      {false, {{kBlack, {0, 0, 128}}}, false, "black on navy"},
      {false, {{kBlack, {240, 240, 240}}, {kBlack, kBlack}}, false, "one of two unreadable"},
      {false, {{{118, 118, 118}, kWhite}}, true, "just at 4.5:1"},
      {false, {{{119, 119, 119}, kWhite}}, false, "just below 4.5:1"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(designedColoursHold(c.highContrast, c.text), c.hold) << c.what;
}

}  // namespace
}  // namespace vcit::ui
