#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "launcher/package_conflicts.h"
#include "platform/platform.h"
#include "ui/check_box.h"
#include "ui/command_button.h"
#include "ui/control_array.h"
#include "ui/file_list.h"
#include "ui/progress_bar.h"
#include "ui/text_box.h"

namespace vcit {

// The launcher window's logic: its state, its controls as a model, and its event handlers
// (launcher::layout() names each control's handler). The window on screen (or a test) drives
// the model; nothing here sees a window handle.
class frmLauncher : public ui::FormLogic {
 public:
  static constexpr int kRows = 16;

  explicit frmLauncher(platform::Platform& platform);
  frmLauncher(const frmLauncher&) = delete;
  frmLauncher& operator=(const frmLauncher&) = delete;

  // Events.
  void Form_Load();
  void chkActive_Click(std::int16_t index);
  void cmdApply_Click() { Apply(); }
  void cmdLaunch_Click();
  void cmdExit_Click();
  void cmdAbout_Click();

  // Makes the state file and the game's main folder agree with the rows' marks; reports its
  // own failures, so callers learn the outcome from Applied.
  void Apply();

  // What the row's package shares with the other listed packages, told with the marks as they
  // are now; empty when it shares nothing or the row is empty. The packages' directories are
  // read the first time any row is asked (a hover or a screen reader's look), never before.
  std::string SharedFiles(std::int16_t index);

  // State.
  std::string ModsDir;
  std::string StateFilePath;
  std::string GamePath;
  std::int16_t ModCount = 0;
  bool Applied = false;

  // Controls.
  ui::ControlArray<ui::TextBox, kRows> txtPk3;
  ui::ControlArray<ui::CheckBox, kRows> chkActive;
  ui::CommandButton cmdApply;
  ui::CommandButton cmdLaunch;
  ui::CommandButton cmdExit;
  ui::CommandButton cmdAbout;
  ui::FileList filList{"*.pk3"};
  // Shown while Apply copies.
  ui::ProgressBar prgApply;

  // What the window around this logic provides: opening the About window and closing the
  // launcher window itself.
  std::function<void()> openAbout;
  std::function<void()> closeWindow;

 private:
  std::string GetGamePath();
  // Applied and the Apply button always agree: no changes pending, nothing to apply.
  void setApplied(bool applied) {
    Applied = applied;
    cmdApply.setEnabled(!applied);
  }

  platform::Platform& platform_;
  std::unique_ptr<launcher::PackageConflicts> conflicts_;
};

}  // namespace vcit
