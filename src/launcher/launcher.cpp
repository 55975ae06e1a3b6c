#include "launcher/launcher.h"

#include "launcher/launcher_layout.h"

namespace vcit {

frmLauncher::frmLauncher(platform::Platform& platform) : platform_(platform) {
  ui::connect(*this, launcher::layout());
}

void frmLauncher::cmdAbout_Click() {
  if (openAbout) openAbout();
}

}  // namespace vcit
