#include "ui/win32/message_loop.h"

#include <algorithm>
#include <vector>

#include "platform/win32/win32_events.h"
#include "ui/win32/form.h"

namespace vcit::ui::win32 {

namespace {

std::vector<Form*>& liveForms() {
  static std::vector<Form*> forms;
  return forms;
}

}  // namespace

void addLiveForm(Form* form) {
  liveForms().push_back(form);
}

void removeLiveForm(Form* form) {
  auto& forms = liveForms();
  forms.erase(std::remove(forms.begin(), forms.end(), form), forms.end());
}

Form* formOwning(HWND anyWindow) {
  if (!anyWindow) return nullptr;
  const HWND root = GetAncestor(anyWindow, GA_ROOT);
  for (Form* form : liveForms())
    if (form->hwnd() && form->hwnd() == root) return form;
  return nullptr;
}

bool Form::preTranslate(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  Form* form = formOwning(msg.hwnd);
  return form && form->keyboard_.handleKey(form->hwnd_, msg);
}

int Form::runMessageLoop() {
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) platform::dispatchMessage(msg, &Form::preTranslate);
  return static_cast<int>(msg.wParam);
}

}  // namespace vcit::ui::win32
