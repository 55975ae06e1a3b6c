#include "platform/win32/win32_keyboard.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/runtime_error.h"
#include "core/text.h"
#include "platform/win32/text_conversion.h"

namespace vcit::platform {
namespace {

struct NamedKey {
  const char* name;
  WORD vk;
};

constexpr NamedKey kNamedKeys[] = {
    {"enter", VK_RETURN},
    {"tab", VK_TAB},
    {"esc", VK_ESCAPE},
    {"escape", VK_ESCAPE},
    {"bs", VK_BACK},
    {"bksp", VK_BACK},
    {"backspace", VK_BACK},
    {"del", VK_DELETE},
    {"delete", VK_DELETE},
    {"ins", VK_INSERT},
    {"insert", VK_INSERT},
    {"home", VK_HOME},
    {"end", VK_END},
    {"left", VK_LEFT},
    {"right", VK_RIGHT},
    {"up", VK_UP},
    {"down", VK_DOWN},
    {"pgup", VK_PRIOR},
    {"pgdn", VK_NEXT},
    {"break", VK_CANCEL},
    {"capslock", VK_CAPITAL},
    {"numlock", VK_NUMLOCK},
    {"scrolllock", VK_SCROLL},
    {"prtsc", VK_SNAPSHOT},
    {"help", VK_HELP},
    {"f1", VK_F1},
    {"f2", VK_F2},
    {"f3", VK_F3},
    {"f4", VK_F4},
    {"f5", VK_F5},
    {"f6", VK_F6},
    {"f7", VK_F7},
    {"f8", VK_F8},
    {"f9", VK_F9},
    {"f10", VK_F10},
    {"f11", VK_F11},
    {"f12", VK_F12},
};

enum Modifier : unsigned { kShift = 1, kCtrl = 2, kAlt = 4 };

class KeyParser {
 public:
  KeyParser(const std::wstring& keys, const Win32Keyboard::KeyScan& scan)
      : keys_(keys), scan_(scan) {}

  std::vector<Win32Keyboard::Stroke> run() {
    while (at_ < keys_.size()) item(0);
    return std::move(strokes_);
  }

 private:
  [[noreturn]] static void malformed() { raise(err::kInvalidProcedureCall); }

  static void modifiers(std::vector<Win32Keyboard::Stroke>& out, unsigned mods, bool up) {
    const WORD order[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    for (int k = 0; k < 3; ++k) {
      const int i = up ? 2 - k : k;
      if (mods & (1u << i)) out.push_back({order[i], 0, up});
    }
  }

  void key(WORD vk, unsigned mods, unsigned held) {
    const unsigned extra = mods & ~held;
    modifiers(strokes_, extra, false);
    strokes_.push_back({vk, 0, false});
    strokes_.push_back({vk, 0, true});
    modifiers(strokes_, extra, true);
  }

  // A letter or digit with Ctrl or Alt is a shortcut, which Windows binds to the virtual key:
  // 'A' to 'Z' and '0' to '9' on every layout, where the layout itself may have no key for the
  // character at all (Cyrillic, Greek) or one elsewhere (AZERTY's digits need Shift).
  static std::optional<WORD> shortcutKey(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<WORD>(c - L'a' + 'A');
    if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) return static_cast<WORD>(c);
    return std::nullopt;
  }

  void character(wchar_t c, unsigned held) {
    if (held & (kCtrl | kAlt)) {
      if (const auto vk = shortcutKey(c)) {
        // Wine maps no key to the letter's virtual key on a layout without Latin letters (a
        // plain "ru" X keymap): there the control character that Ctrl and the letter make is
        // the keystroke that an edit box still understands. Windows has every letter's key.
        if ((held & kCtrl) && *vk >= 'A' && *vk <= 'Z' &&
            MapVirtualKeyW(*vk, MAPVK_VK_TO_VSC) == 0) {
          strokes_.push_back({0, static_cast<wchar_t>(*vk - 'A' + 1), false});
          strokes_.push_back({0, static_cast<wchar_t>(*vk - 'A' + 1), true});
          return;
        }
        key(*vk, c >= L'A' && c <= L'Z' ? kShift : 0u, held);
        return;
      }
    }
    const SHORT scan = scan_(c);
    if (scan == -1) {
      strokes_.push_back({0, c, false});
      strokes_.push_back({0, c, true});
      return;
    }
    const unsigned shiftState = static_cast<unsigned>(scan >> 8) & 0xFF;
    unsigned mods = 0;
    if (shiftState & 1) mods |= kShift;
    if (shiftState & 2) mods |= kCtrl;
    if (shiftState & 4) mods |= kAlt;
    key(static_cast<WORD>(scan & 0xFF), mods, held);
  }

  // One key, group or modified item, with the modifiers already held around it.
  void item(unsigned held) {
    const wchar_t c = keys_[at_++];
    switch (c) {
      case L'+':
      case L'^':
      case L'%': {
        const unsigned mod = c == L'+' ? kShift : c == L'^' ? kCtrl : kAlt;
        if (at_ >= keys_.size()) malformed();
        const unsigned extra = mod & ~held;
        modifiers(strokes_, extra, false);
        item(held | mod);
        modifiers(strokes_, extra, true);
        return;
      }
      case L'(': {
        while (at_ < keys_.size() && keys_[at_] != L')') item(held);
        if (at_ >= keys_.size()) malformed();
        ++at_;
        return;
      }
      case L')':
      case L'}':
        malformed();
      case L'~':
        key(VK_RETURN, held, held);
        return;
      case L'{':
        braced(held);
        return;
      default:
        character(c, held);
    }
  }

  // "{name}", "{name count}" or "{c}" for a character that has a meaning of its own.
  void braced(unsigned held) {
    // "{}}" names the closing brace itself.
    std::size_t close = keys_.find(L'}', at_ + 1);
    if (close == std::wstring::npos) malformed();
    std::wstring inside = keys_.substr(at_, close - at_);
    at_ = close + 1;
    int count = 1;
    if (const auto space = inside.find(L' '); space != std::wstring::npos && space > 0) {
      const std::wstring digits = inside.substr(space + 1);
      if (digits.empty() || digits.size() > 4 ||
          !std::all_of(digits.begin(), digits.end(),
                       [](wchar_t d) { return d >= L'0' && d <= L'9'; }))
        malformed();
      count = std::stoi(digits);
      inside.resize(space);
    }
    if (inside.empty()) malformed();
    for (int n = 0; n < count; ++n) {
      if (inside.size() == 1) {
        character(inside[0], held);
        continue;
      }
      const std::string name = text::foldCase(win32::narrow(inside));
      const auto* named = std::find_if(std::begin(kNamedKeys), std::end(kNamedKeys),
                                       [&](const NamedKey& k) { return name == k.name; });
      if (named == std::end(kNamedKeys)) malformed();
      key(named->vk, held, held);
    }
  }

  const std::wstring& keys_;
  const Win32Keyboard::KeyScan& scan_;
  std::size_t at_ = 0;
  std::vector<Win32Keyboard::Stroke> strokes_;
};

}  // namespace

std::vector<Win32Keyboard::Stroke> Win32Keyboard::parse(const std::string& keys) {
  return parse(keys, [](wchar_t c) { return VkKeyScanW(c); });
}

std::vector<Win32Keyboard::Stroke> Win32Keyboard::parse(const std::string& keys,
                                                        const KeyScan& scan) {
  const std::wstring wide = win32::widen(keys);
  return KeyParser(wide, scan).run();
}

}  // namespace vcit::platform
