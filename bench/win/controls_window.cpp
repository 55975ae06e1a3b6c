// The second yardstick of the start-up benchmark: the launcher's window with its controls and
// resources, made by the same window toolkit, but without the launcher's logic (no registry,
// no folder listing, no state file, nothing bound). What the launcher takes beyond this is its
// own start-up; what this takes beyond a bare window is the cost of its controls.
#include <windows.h>

#include "launcher/launcher_layout.h"
#include "ui/win32/form.h"

// Nothing is bound, so no handler runs and nothing is reported.
struct NoReports : vcit::platform::MessageBoxes {
  int show(const std::string&, const std::string&, unsigned) override { return 0; }
};

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using vcit::ui::win32::Form;
  NoReports reports;
  Form window(vcit::launcher::layout(), reports);
  window.quitOnDestroy = true;
  window.show(SW_SHOWNORMAL);
  return Form::runMessageLoop();
}
