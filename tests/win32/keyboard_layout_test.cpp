// Keystrokes on keyboard layouts unlike the US one: shortcuts go out as the virtual keys that
// Windows binds them to, plain characters as the layout types them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_keyboard.h"

namespace vcit::platform {
namespace {

// The strokes as "vk+" / "vk-" (a key's name or its character), "u'c'+" for Unicode ones.
std::string shown(const std::string& keys, const Win32Keyboard::KeyScan& scan) {
  std::string out;
  for (const auto& s : Win32Keyboard::parse(keys, scan)) {
    if (!out.empty()) out += ' ';
    if (s.vk == 0)
      out += "u'" + std::string(1, static_cast<char>(s.unit)) + "'";
    else if (s.vk == VK_CONTROL)
      out += "Ctrl";
    else if (s.vk == VK_MENU)
      out += "Alt";
    else if (s.vk == VK_SHIFT)
      out += "Shift";
    else
      out += std::string(1, static_cast<char>(s.vk));
    out += s.up ? '-' : '+';
  }
  return out;
}

TEST(KeyboardLayoutTest, ShortcutsUseTheVirtualKeyWhereTheLayoutHasNoLatinLetters) {
  // Russian or Greek: no key types a Latin letter; digits are where they are on US keyboards.
  const auto cyrillic = [](wchar_t c) -> SHORT {
    return c >= L'0' && c <= L'9' ? static_cast<SHORT>(c) : -1;
  };
  EXPECT_EQ(shown("^v", cyrillic), "Ctrl+ V+ V- Ctrl-");
  EXPECT_EQ(shown("^V", cyrillic), "Ctrl+ Shift+ V+ V- Shift- Ctrl-");
  EXPECT_EQ(shown("%(f1)", cyrillic), "Alt+ F+ F- 1+ 1- Alt-");
  EXPECT_EQ(shown("v", cyrillic), "u'v'+ u'v'-") << "a plain letter is typed as itself";
  EXPECT_EQ(shown("^.", cyrillic), "Ctrl+ u'.'+ u'.'- Ctrl-") << "not a letter or digit";
}

TEST(KeyboardLayoutTest, ShortcutsOnDigitsTakeNoShiftWhereTheLayoutTypesThemShifted) {
  // French AZERTY: the digits are on the shifted top row.
  const auto azerty = [](wchar_t c) -> SHORT {
    if (c >= L'0' && c <= L'9') return static_cast<SHORT>(0x100 | c);
    return c >= L'a' && c <= L'z' ? static_cast<SHORT>(c - L'a' + 'A') : -1;
  };
  EXPECT_EQ(shown("^1", azerty), "Ctrl+ 1+ 1- Ctrl-");
  EXPECT_EQ(shown("1", azerty), "Shift+ 1+ 1- Shift-");
}

}  // namespace
}  // namespace vcit::platform
