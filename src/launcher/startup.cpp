#include <exception>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "core/runtime_error.h"
#include "core/text.h"
#include "launcher/launcher.h"
#include "launcher/state_file.h"
#include "meta/version.h"
#include "registry/reg_op.h"
#include "ui/handlers.h"

namespace vcit {
namespace {

// The state file, open to write; or, where it may not be written (a program folder under
// Program Files, a read-only file), open to read, so that the marks show all the same and only
// Apply reports the refusal. None when the file to read does not exist. A file that cannot be
// read either gives the first refusal.
std::unique_ptr<platform::RecordFile> openStateFile(platform::FileSystem& files,
                                                    const std::string& path) {
  try {
    return files.openRecordFile(path, launcher::kRecordLength);
  } catch (const RuntimeError&) {
    const std::exception_ptr refused = std::current_exception();
    try {
      return files.openRecordFileToRead(path, launcher::kRecordLength);
    } catch (const RuntimeError&) {
      std::rethrow_exception(refused);
    }
  }
}

}  // namespace

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
    // The listing is counted as the rows are, by a 16-bit counter.
    if (filList.listCount() > std::numeric_limits<std::int16_t>::max()) raise(err::kOverflow);

    // The file is released on every path out of here, so a later Apply can rewrite it.
    auto stateFile = openStateFile(platform_.files, StateFilePath);
    std::optional<launcher::StateRecords> records;
    const auto inMain = [&](const std::string& package) {
      return !GamePath.empty() && platform_.files.fileExists(GamePath + "\\main\\" + package);
    };
    if (stateFile) records.emplace(*stateFile, platform_.files, filList.fileNames(), inMain);
    for (long i = 0; i < filList.listCount(); ++i) {
      filList.setListIndex(i);
      const std::string package = filList.fileName();
      txtPk3(ModCount).setText(package);
      if (const auto record = records ? records->find(package) : std::nullopt)
        chkActive(ModCount).setValue(launcher::markOf(*record));
      ++ModCount;
    }
    stateFile.reset();

    // An Apply cut short (killed, a power cut, a forced shutdown) left its marks recorded and
    // main only partly changed.
    setApplied(!platform_.files.fileExists(launcher::pendingApplyPath(StateFilePath)));
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
