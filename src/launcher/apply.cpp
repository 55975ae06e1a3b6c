#include "core/runtime_error.h"
#include "core/text.h"
#include "launcher/launcher.h"
#include "launcher/state_file.h"
#include "ui/handlers.h"

namespace vcit {

void frmLauncher::Apply() {
  ui::reportAndStop(platform_.messages, [&] {
    // Without a game folder the targets would be a "\main\" folder at the root of the drive;
    // with no rows there is no target, and Apply completes.
    const std::int16_t rows = ModCount;
    if (GamePath.empty() && rows > 0) raise(err::kPathNotFound);
    if (rows > 0) ui::skipFileNotFound([&] { platform_.files.deleteFile(StateFilePath); });
    auto stateFile = platform_.files.openRecordFile(StateFilePath, launcher::kRecordLength);
    for (std::int16_t i = 0; i < rows; ++i) {
      const std::string name = text::trimSpaces(txtPk3(i).text());
      const int mark = chkActive(i).value();
      stateFile->write(i + 1, launcher::buildRecord(platform_.files, name, mark));
      const std::string target = GamePath + "\\main\\" + name;
      if (mark == ui::CheckBox::kChecked) {
        ui::skipFileNotFound([&] { copyUnlessCurrent(ModsDir + name, target); });
      } else {
        ui::skipFileNotFound([&] { platform_.files.deleteFile(target); });
      }
    }
    stateFile.reset();

    Applied = true;
    cmdApply.setEnabled(false);
  });
}

// A target with the source's size and last-write time is the same package (copies keep the
// source's time), so applying again copies only what changed.
void frmLauncher::copyUnlessCurrent(const std::string& source, const std::string& target) {
  const auto from = platform_.files.facts(source);
  const auto to = platform_.files.facts(target);
  if (from && to && from->size == to->size && from->lastWriteTime == to->lastWriteTime) return;
  platform_.files.copyFile(source, target);
}

}  // namespace vcit
