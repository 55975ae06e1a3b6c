#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/win32/win32_events.h"

namespace vcit::platform {

// Keystrokes by SendInput, in the small key syntax of the toolkit: plain characters; "~" and
// "{enter}" for Enter; "{tab}", "{esc}", "{bs}", "{del}", "{home}", "{end}", "{left}" and the
// other named keys; "{+}" and the like for the special characters themselves; "+", "^" and
// "%" hold Shift, Ctrl and Alt for the next key or the parenthesized group. After sending, it
// waits (bounded) until the thread with the keyboard focus has taken every keystroke from its
// queue: a thread of this process (Wine opens the Run dialog here) is watched by a keyboard
// hook that counts them; a thread of another process is attached to, so that its key state
// (each key released, its toggle bit flipped once per press) is seen here. When the focus is
// in the calling thread, its own messages are processed meanwhile. A closed focus window
// (Enter ended the dialog) ends the wait too.
class Win32Keyboard : public Keyboard {
 public:
  void sendKeys(const std::string& keys) override;
  DWORD processedTimeoutMs = 3000;
  // Whose filter handles this thread's messages while the keystrokes are waited for.
  Win32EventPump* events = nullptr;

  struct Stroke {
    WORD vk = 0;       // virtual key; 0 with a character for a KEYEVENTF_UNICODE stroke
    wchar_t unit = 0;  // the character of a Unicode stroke
    bool up = false;
  };
  // The key-down and key-up strokes the text stands for (error 5 for a malformed text).
  static std::vector<Stroke> parse(const std::string& keys);
  // The same with the keyboard layout's VkKeyScanW given: a character's key and shift state,
  // or -1 when no key of the layout produces it.
  using KeyScan = std::function<SHORT(wchar_t)>;
  static std::vector<Stroke> parse(const std::string& keys, const KeyScan& scan);
};

}  // namespace vcit::platform
