#include "paired.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace vcit::bench {
namespace {

struct PairsCase {
  const char* what;
  std::vector<std::pair<double, double>> runs;  // ours, yardstick
  Spread ratio, ours;
};

TEST(Pairs, RatiosArePerPairAndTheirMedianIsTheFigure) {
  const PairsCase cases[] = {
      // A yardstick that takes three times as long a minute later: each pair alike, so 1.0,
      // where the medians' ratio (300 / 100) would read 3.
      {"drifting load", {{100, 100}, {300, 100}, {300, 300}}, {1, 1, 3}, {300, 100, 300}},
      {"even count: mean of the middle two",
       {{4, 1}, {1, 1}, {3, 1}, {2, 1}},
       {2.5, 1, 4},
       {2.5, 1, 4}},
      {"one pair", {{105, 100}}, {1.05, 1.05, 1.05}, {105, 105, 105}},
      {"no pairs", {}, {0, 0, 0}, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Pairs pairs;
    for (const auto& [ours, yardstick] : c.runs) pairs.add(ours, yardstick);
    EXPECT_EQ(pairs.count(), static_cast<int>(c.runs.size()));
    EXPECT_DOUBLE_EQ(pairs.ratio().median, c.ratio.median);
    EXPECT_DOUBLE_EQ(pairs.ratio().min, c.ratio.min);
    EXPECT_DOUBLE_EQ(pairs.ratio().max, c.ratio.max);
    EXPECT_DOUBLE_EQ(pairs.ours().median, c.ours.median);
    EXPECT_DOUBLE_EQ(pairs.ours().min, c.ours.min);
    EXPECT_DOUBLE_EQ(pairs.ours().max, c.ours.max);
  }
}

// tools/bench reads these fields by name.
TEST(Pairs, ResultFields) {
  Pairs pairs;
  pairs.add(1234.56, 1000);
  pairs.add(900, 1000);
  EXPECT_EQ(pairs.result("ms", "cp_sync_ms"),
            "pairs=2 median_ratio=1.067 min_ratio=0.900 max_ratio=1.235 ms=1067.3 ms_min=900.0 "
            "ms_max=1234.6 cp_sync_ms=1000.0 cp_sync_ms_min=1000.0 cp_sync_ms_max=1000.0");
}

}  // namespace
}  // namespace vcit::bench
