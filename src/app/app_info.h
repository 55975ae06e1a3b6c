#pragma once

namespace vcit::app {

// The application's metadata.
inline constexpr const char* kTitle = "RUZiza";
inline constexpr const char* kProductName = "Valor Crest Mod Launcher";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;
inline constexpr const char* kDescription = "Mod Launcher for Valor Crest: Iron Tide";

}  // namespace vcit::app
