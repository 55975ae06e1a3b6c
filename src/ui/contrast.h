#pragma once

#include <cstdint>
#include <span>

namespace vcit::ui {

// A colour by its red, green and blue, 0 to 255 each.
struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The contrast of two colours as WCAG 2 measures it, from 1 (the same) to 21 (black and white):
// the lighter one's relative luminance (through the sRGB curve) plus 0.05, over the darker's.
double contrastRatio(Rgb a, Rgb b);

// The least contrast at which text of the usual size reads well (WCAG 2, level AA).
inline constexpr double kReadableContrast = 4.5;

// Text in a fixed colour on the system colour that lies behind it.
struct FixedInk {
  Rgb ink;
  Rgb background;
};

// Whether a window shows the fixed colours of its design in the system's current colour
// scheme: not when Windows reports high contrast, nor when any of its fixed text colours would
// be hard to read on what lies behind it. Where they do not hold, the window draws in the
// scheme's own colours instead: text in its text colour, etched lines in its shadow and
// highlight.
bool designedColoursHold(bool highContrast, std::span<const FixedInk> text);

}  // namespace vcit::ui
