#pragma once

// Names that Windows matches, or keeps apart, when letter case is ignored (CompareStringOrdinal
// with ignore-case, measured under Wine 8.0), for the fake's table and the system alike. UTF-8.
namespace vcit::testing {

struct CaseSample {
  const char* what;
  const char* a;
  const char* b;
  bool same;
};

inline constexpr CaseSample kCaseSamples[] = {
    {"Armenian", "\xD4\xB1\xD5\x84\xD4\xB1\xD5\x8C", "\xD5\xA1\xD5\xB4\xD5\xA1\xD5\xBC", true},
    {"Georgian Mtavruli and Mkhedruli", "\xE1\xB2\x90\xE1\xB2\xA0", "\xE1\x83\x90\xE1\x83\xA0",
     true},
    {"Georgian Asomtavruli and Nuskhuri", "\xE1\x82\xA0\xE1\x83\x85", "\xE2\xB4\x80\xE2\xB4\xA5",
     true},
    {"Cherokee", "\xE1\x8E\xA0\xE1\x8F\xB0", "\xEA\xAD\xB0\xE1\x8F\xB8", true},
    {"Glagolitic", "\xE2\xB0\x80", "\xE2\xB0\xB0", true},
    {"Coptic", "\xE2\xB2\x80", "\xE2\xB2\x81", true},
    {"Latin with Cyrillic and Greek", "\xC3\x89\xC5\xB8\xD0\x96\xCE\xA3",
     "\xC3\xA9\xC3\xBF\xD0\xB6\xCF\x83", true},
    {"fullwidth Latin", "\xEF\xBC\xA1", "\xEF\xBD\x81", true},
    {"Deseret, outside the BMP", "\xF0\x90\x90\x80", "\xF0\x90\x90\xA8", false},
    {"Adlam, outside the BMP", "\xF0\x9E\xA4\x80", "\xF0\x9E\xA4\xA2", false},
    {"dotless i", "\xC4\xB1", "\x69", false},
    {"dotted capital I", "\xC4\xB0", "\x69", false},
    {"long s", "\xC5\xBF", "\x73", false},
    {"micro sign and mu", "\xC2\xB5", "\xCE\xBC", false},
    {"final sigma", "\xCF\x82", "\xCF\x83", false},
    {"titlecase digraph", "\xC7\x85", "\xC7\x86", false},
    {"Kelvin sign", "\xE2\x84\xAA", "\x6B", false},
    {"sharp s", "\xE1\xBA\x9E", "\xC3\x9F", false},
};

}  // namespace vcit::testing
