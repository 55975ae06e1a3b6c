#pragma once

#include <functional>
#include <memory>

#include "about/about.h"
#include "platform/platform.h"

namespace vcit::about {

// The one About window of a run: loaded at the first opening, brought forward by a later one,
// and loaded afresh after it was unloaded (by OK, Esc or its frame).
class AboutBox {
 public:
  // The window on screen for a loaded frmAbout.
  class Window {
   public:
    virtual ~Window() = default;
    // Shows it modeless, without an owner window.
    virtual void show() = 0;
    virtual void bringToFront() = 0;
    // Closes it once the current event is over; the window then tells `closed`.
    virtual void close() = 0;
  };
  // Makes the window for a form; `closed` is to be called once the window is gone, from
  // outside the form's own handlers.
  using WindowFactory =
      std::function<std::unique_ptr<Window>(frmAbout& form, std::function<void()> closed)>;

  AboutBox(platform::Platform& platform, WindowFactory factory);
  ~AboutBox();
  AboutBox(const AboutBox&) = delete;
  AboutBox& operator=(const AboutBox&) = delete;

  // The launcher's About button.
  void open();
  // The loaded window's logic, or null.
  frmAbout* form() { return form_.get(); }

 private:
  void closed();

  platform::Platform& platform_;
  WindowFactory factory_;
  std::unique_ptr<frmAbout> form_;
  std::unique_ptr<Window> window_;
};

}  // namespace vcit::about
