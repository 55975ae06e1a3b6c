#include "launcher/launcher.h"
#include "meta/version.h"
#include "ui/handlers.h"

namespace vcit {

void frmLauncher::cmdLaunch_Click() {
  namespace mb = platform::mb;
  ui::reportAndStop(platform_.messages, [&] {
    if (!Applied) {
      const int answer = platform_.messages.show("You have not applied your changes, apply now?",
                                                 app::kTitle, mb::kYesNo | mb::kIconQuestion);
      if (answer == mb::kAnswerYes) Apply();
      if (!Applied) return;
    }
    platform_.clipboard.setText(GamePath + "\\vcit.exe");
    const auto shell = platform_.shell.create();  // released on every way out
    shell->FileRun();
    platform_.events.doEvents();
    platform_.keyboard.sendKeys("^v");
    platform_.events.doEvents();
    platform_.keyboard.sendKeys("{enter}");
    platform_.events.doEvents();
  });
}

void frmLauncher::cmdExit_Click() {
  if (closeWindow) closeWindow();
  platform_.system.endProgram();
}

}  // namespace vcit
