#include "about/about_box.h"

#include <utility>

namespace vcit::about {

AboutBox::AboutBox(platform::Platform& platform, WindowFactory factory)
    : platform_(platform), factory_(std::move(factory)) {}

AboutBox::~AboutBox() {
  window_.reset();
  form_.reset();
}

void AboutBox::open() {
  if (form_) {
    window_->bringToFront();
    return;
  }
  auto form = std::make_unique<frmAbout>(platform_);
  auto window = factory_(*form, [this] { closed(); });
  form->unload = [this] {
    if (window_) window_->close();
  };
  form_ = std::move(form);
  window_ = std::move(window);
  form_->Form_Load();
  window_->show();
}

void AboutBox::closed() {
  // The window is gone: drop it, then its logic (which the window was bound to), so the next
  // opening loads afresh.
  window_.reset();
  form_.reset();
}

}  // namespace vcit::about
