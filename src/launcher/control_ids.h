#pragma once

// Child-window identifiers of the launcher window's controls, shared by the window and by
// programs that drive it (the end-to-end tests).
namespace vcit::launcher::ids {
inline constexpr int kApply = 1001;
inline constexpr int kLaunch = 1002;
inline constexpr int kExit = 1003;
inline constexpr int kAbout = 1004;
inline constexpr int kFileList = 1005;
inline constexpr int kListPanel = 1006;      // Picture1
inline constexpr int kProgress = 1007;       // prgApply
inline constexpr int kNameBase = 1100;       // txtPk3(i) is kNameBase + i
inline constexpr int kMarkBase = 1200;       // chkActive(i) is kMarkBase + i
inline constexpr int kMarkPanelBase = 1300;  // Picture2(i) is kMarkPanelBase + i
}  // namespace vcit::launcher::ids
