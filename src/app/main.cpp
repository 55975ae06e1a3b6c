// The program's start: the real platform, the launcher window with its logic, and the About
// window on demand.

#include <windows.h>

#include <exception>
#include <memory>
#include <utility>

#include "about/about.h"
#include "about/about_box.h"
#include "about/about_layout.h"
#include "launcher/launcher.h"
#include "launcher/launcher_layout.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/single_instance.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/win32_platform.h"
#include "ui/handlers.h"
#include "ui/win32/form.h"

namespace {

using vcit::ui::win32::Form;

// The About window on screen: a form of the toolkit started with the About logic, which the
// About box has loaded before it shows the window.
class AboutWindow : public vcit::about::AboutBox::Window {
 public:
  AboutWindow(vcit::frmAbout& form, vcit::platform::MessageBoxes& failures,
              std::function<void()> closed)
      : form_(form), window_(vcit::about::layout(), failures) {
    window_.onDestroyed = std::move(closed);
  }
  void show() override {
    if (started_) return window_.show();
    started_ = true;
    window_.start(form_, nullptr, SW_SHOWNORMAL);
  }
  void bringToFront() override { window_.bringToFront(); }
  void close() override { window_.close(); }

 private:
  vcit::frmAbout& form_;
  Form window_;
  bool started_ = false;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  vcit::platform::win32::searchDllsInSystem32Only();
  // One launcher per program folder: a second start shows the running one's window and ends.
  vcit::platform::win32::SingleInstance instance;
  if (!instance.claim()) return 0;
  // The windows' own accessible objects are handed to screen readers through COM, whose calls
  // then arrive in this thread's message loop.
  const vcit::platform::win32::ComInit com;
  auto services = std::make_unique<vcit::platform::Win32Platform>();
  vcit::platform::Platform& platform = services->platform;
  services->events.filter = [](MSG& message) { return Form::preTranslate(message); };

  vcit::about::AboutBox about(
      platform, [&platform](vcit::frmAbout& form, std::function<void()> closed) {
        return std::make_unique<AboutWindow>(form, platform.messages, std::move(closed));
      });

  vcit::frmLauncher launcher(platform);
  std::unique_ptr<Form> window;
  try {
    window = std::make_unique<Form>(vcit::launcher::layout(), platform.messages);
  } catch (const std::exception& e) {
    // No window can be made (no desktop to show it on): say so, as far as that is possible.
    vcit::ui::reportFailure(platform.messages, vcit::ui::asRuntimeError(e));
    return 1;
  }
  window->quitOnDestroy = true;
  // Apply's progress shows on the launcher's taskbar button; meanwhile the handlers of every
  // window of the program wait.
  services->progress.window = window->hwnd();
  services->progress.holdHandlers = &Form::holdHandlers;
  launcher.openAbout = [&about] { about.open(); };
  launcher.closeWindow = [&window] { window->destroy(); };

  window->start(launcher, vcit::ui::on(&vcit::frmLauncher::Form_Load),
                showCommand == SW_HIDE ? SW_SHOWNORMAL : showCommand);
  instance.publish(window->hwnd());
  return Form::runMessageLoop();
}
