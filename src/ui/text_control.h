#pragma once

#include <string>
#include <utility>

#include "ui/control.h"

namespace vcit::ui {

// A control that shows one text.
class TextControl : public Control {
 public:
  const std::string& text() const { return text_; }
  void setText(std::string text) {
    if (text_ == text) return;
    text_ = std::move(text);
    changed();
  }

 private:
  std::string text_;
};

}  // namespace vcit::ui
