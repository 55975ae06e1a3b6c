#pragma once

// Figures measured in pairs: a run of ours and then a run of its yardstick, A B A B, so that
// both runs of a pair meet the same load of a shared machine. Within minutes the yardstick
// alone can take three times as long as before; the two runs of one pair move together, so
// the figure is the median of the per-pair ratios (a ratio of the medians would set a slow A
// against a fast B of another moment).

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace vcit::bench {

struct Spread {
  double median = 0, min = 0, max = 0;
};

// The median (the mean of the middle two for an even count) and the range; zeros when empty.
inline Spread spread(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

// " NAME=median NAME_min=min NAME_max=max", the form of the RESULT lines.
inline std::string fields(const std::string& name, const Spread& s, int decimals = 1) {
  char buf[160];
  std::snprintf(buf, sizeof buf, " %s=%.*f %s_min=%.*f %s_max=%.*f", name.c_str(), decimals,
                s.median, name.c_str(), decimals, s.min, name.c_str(), decimals, s.max);
  return buf;
}

class Pairs {
 public:
  // Both in the same unit; the yardstick must have taken some time.
  void add(double ours, double yardstick) {
    ours_.push_back(ours);
    yardstick_.push_back(yardstick);
    ratios_.push_back(ours / yardstick);
  }
  int count() const { return static_cast<int>(ratios_.size()); }
  Spread ours() const { return spread(ours_); }
  Spread yardstick() const { return spread(yardstick_); }
  Spread ratio() const { return spread(ratios_); }
  // "pairs=N median_ratio=X min_ratio=X max_ratio=X OURS=.. OURS_min=.. YARDSTICK=.. ...".
  std::string result(const std::string& oursName, const std::string& yardstickName) const {
    const Spread r = ratio();
    char buf[120];
    std::snprintf(buf, sizeof buf, "pairs=%d median_ratio=%.3f min_ratio=%.3f max_ratio=%.3f",
                  count(), r.median, r.min, r.max);
    return buf + fields(oursName, ours()) + fields(yardstickName, yardstick());
  }

 private:
  std::vector<double> ours_, yardstick_, ratios_;
};

}  // namespace vcit::bench
