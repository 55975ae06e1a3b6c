#pragma once

#include <windows.h>

namespace vcit::ui::win32 {

class Form;

// The forms that exist, so that the message loop finds the form a message is for.
void addLiveForm(Form* form);
void removeLiveForm(Form* form);
// The live form whose top-level window is or holds this window; null for none.
Form* formOwning(HWND anyWindow);

}  // namespace vcit::ui::win32
