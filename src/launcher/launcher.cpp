#include "launcher/launcher.h"

namespace vcit {

frmLauncher::frmLauncher(platform::Platform& platform) : platform_(platform) {
  for (std::int16_t i = 0; i < kRows; ++i) chkActive(i).onClick = [this, i] { chkActive_Click(i); };
  cmdApply.onClick = [this] { cmdApply_Click(); };
  cmdLaunch.onClick = [this] { cmdLaunch_Click(); };
  cmdExit.onClick = [this] { cmdExit_Click(); };
  cmdAbout.onClick = [this] { cmdAbout_Click(); };
}

void frmLauncher::cmdAbout_Click() {
  if (openAbout) openAbout();
}

}  // namespace vcit
