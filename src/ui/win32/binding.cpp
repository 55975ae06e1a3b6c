// Model controls tied to a form's windows.

#include <variant>

#include "core/runtime_error.h"
#include "platform/win32/text_conversion.h"
#include "ui/win32/control_adapter.h"
#include "ui/win32/form.h"

namespace vcit::ui::win32 {

void Form::bind(const std::vector<Binding>& bindings) {
  for (const auto& binding : bindings) {
    if (binding.id == 0) {
      if (Label* const* label = std::get_if<Label*>(&binding.control)) {
        captionModel_ = *label;
        captionModel_->bindView([this, model = *label] {
          if (hwnd_) SetWindowTextW(hwnd_, platform::win32::widen(model->text()).c_str());
        });
      }
      continue;
    }
    ChildWindow* child = children_.findById(binding.id);
    if (!child) throw RuntimeError(err::kInternalError, "No control with this identifier");
    child->adapter->bind(*child, binding, [this](HWND from) { keyboard_.focusNext(from, false); });
    child->accessible->bind(binding);
  }
}

void Form::clicked(ChildWindow& child) {
  if (child.click) dispatch(child.click);
}

void Form::dispatch(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    reportError(e);
  } catch (...) {
    reportError(RuntimeError(err::kInternalError));
  }
}

void Form::reportError(const std::exception& e) {
  if (onError_) onError_(e);
}

}  // namespace vcit::ui::win32
