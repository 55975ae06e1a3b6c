#include <exception>
#include <limits>

#include "core/runtime_error.h"
#include "core/text.h"
#include "launcher/launcher.h"
#include "launcher/state_file.h"
#include "meta/version.h"
#include "registry/reg_op.h"
#include "ui/handlers.h"

namespace vcit {

void frmLauncher::Form_Load() {
  const std::string programDirectory = platform_.system.programDirectory();
  try {
    platform_.files.createFolder(programDirectory + "\\Mods");
  } catch (const std::exception&) {
    // An existing folder, or one that cannot be made: listing it below tells.
  }

  ui::reportAndStop(platform_.messages, [&] {
    ModsDir = programDirectory + "\\Mods\\";
    StateFilePath = programDirectory + "\\Active.dat";
    GamePath = GetGamePath();
    filList.setPath(platform_.files, ModsDir);

    // The file is released on every path out of here, so a later Apply can rewrite it.
    auto stateFile = platform_.files.openRecordFile(StateFilePath, launcher::kRecordLength);
    launcher::StateRecords records(*stateFile, platform_.files, filList.fileNames());
    for (long i = 0; i < filList.listCount(); ++i) {
      filList.setListIndex(i);
      const std::string package = filList.fileName();
      txtPk3(ModCount).setText(package);
      if (const auto record = records.find(package))
        chkActive(ModCount).setValue(launcher::markOf(*record));
      if (ModCount == std::numeric_limits<std::int16_t>::max()) raise(err::kOverflow);
      ++ModCount;
    }
    stateFile.reset();

    setApplied(true);
  });
}

std::string frmLauncher::GetGamePath() {
  std::string path;
  ui::reportAndStop(platform_.messages, [&] {
    RegOp registry(platform_.registry, platform_.system, platform_.messages);
    registry.Root(platform::reg::kCurrentUser);
    registry.Key("Software\\Brackwater\\VCIT");
    const std::string value = registry.Value("basepath").toText();
    if (text::isBlank(value)) {
      platform_.messages.show("Valor Crest path not found", app::kTitle,
                              platform::mb::kOk | platform::mb::kIconCritical);
      return;
    }
    path = value;
  });
  return path;
}

void frmLauncher::chkActive_Click(std::int16_t /*index*/) {
  setApplied(false);
}

}  // namespace vcit
