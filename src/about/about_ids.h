#pragma once

// Child-window identifiers of the About window's controls, shared by the window and by
// programs that drive it (the end-to-end tests).
namespace vcit::about::ids {
inline constexpr int kOK = 2001;
inline constexpr int kSysInfo = 2002;
inline constexpr int kIcon = 2003;
inline constexpr int kTitle = 2004;
inline constexpr int kVersion = 2005;
inline constexpr int kDescription = 2006;
inline constexpr int kDisclaimer = 2007;
}  // namespace vcit::about::ids
