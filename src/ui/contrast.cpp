#include "ui/contrast.h"

#include <algorithm>
#include <cmath>

namespace vcit::ui {

namespace {

// A channel's share of the light, undoing the sRGB curve.
double linear(std::uint8_t channel) {
  const double c = channel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double relativeLuminance(Rgb colour) {
  return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) + 0.0722 * linear(colour.blue);
}

}  // namespace

double contrastRatio(Rgb a, Rgb b) {
  const double la = relativeLuminance(a), lb = relativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool designedColoursHold(bool highContrast, std::span<const FixedInk> text) {
  return !highContrast && std::all_of(text.begin(), text.end(), [](const FixedInk& t) {
    return contrastRatio(t.ink, t.background) >= kReadableContrast;
  });
}

}  // namespace vcit::ui
