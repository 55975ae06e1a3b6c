#pragma once

// The window classes the toolkit registers itself.

namespace vcit::ui::win32 {

inline constexpr wchar_t kFormClass[] = L"VCITForm";
inline constexpr wchar_t kPanelClass[] = L"VCITPanel";

}  // namespace vcit::ui::win32
