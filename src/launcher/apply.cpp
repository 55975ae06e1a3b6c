#include <exception>
#include <vector>

#include "core/runtime_error.h"
#include "core/text.h"
#include "launcher/apply_batch.h"
#include "launcher/launcher.h"
#include "launcher/state_file.h"
#include "platform/progress.h"
#include "ui/handlers.h"
#include "ui/progress_bar.h"

namespace vcit {
namespace {

// After a stop at a row's copy or delete, the state file keeps the records of the rows up to
// that one and no later ones, as when each record is written just before its row. When even
// that fails, the newer records stay (no mark is lost) and the stop is reported all the same.
void keepRecords(platform::FileSystem& files, const std::string& path, std::int32_t count) {
  try {
    files.openRecordFile(path, launcher::kRecordLength)->truncate(count);
  } catch (const std::exception&) {
  }
}

}  // namespace

void frmLauncher::Apply() {
  ui::reportAndStop(platform_.messages, [&] {
    // Without a game folder the targets would be a "\main\" folder at the root of the drive;
    // with no rows there is no target, and Apply completes.
    const std::int16_t rows = ModCount;
    if (GamePath.empty() && rows > 0) raise(err::kPathNotFound);
    std::vector<launcher::ApplyRow> plan;
    std::string records;
    std::exception_ptr recordError;  // a name with no record stops the run at its row
    std::uint64_t bytesToCopy = 0;
    for (std::int16_t i = 0; i < rows; ++i) {
      launcher::ApplyRow row;
      row.index = i;
      row.name = text::trimSpaces(txtPk3(i).text());
      row.mark = chkActive(i).value();
      try {
        records += launcher::buildRecord(platform_.files, row.name, row.mark);
      } catch (const RuntimeError&) {
        recordError = std::current_exception();
        break;
      }
      row.source = ModsDir + row.name;
      row.target = GamePath + "\\main\\" + row.name;
      if (launcher::needsCopy(platform_.files, row))
        if (const auto facts = platform_.files.facts(row.source)) bytesToCopy += facts->size;
      plan.push_back(std::move(row));
    }
    ui::ProgressOnBar shown(platform_.progress, prgApply);
    platform::ProgressRun progress(shown, bytesToCopy);

    // Every row's new record is in place before the first package is touched, in one step:
    // killed at any moment, Apply leaves each row its old mark or its new one.
    if (rows > 0)
      platform_.files.replaceContents(StateFilePath, records);
    else
      platform_.files.openRecordFile(StateFilePath, launcher::kRecordLength);  // kept as it is
    if (!GamePath.empty()) platform_.files.removePartialFiles(GamePath + "\\main\\");

    launcher::ApplyBatch batch(platform_.files, progress);
    try {
      for (const launcher::ApplyRow& row : plan) batch.add(row);
      batch.finish();
    } catch (...) {
      keepRecords(platform_.files, StateFilePath, batch.rowsDone() + 1);
      throw;
    }
    if (recordError) std::rethrow_exception(recordError);

    setApplied(true);
  });
}

}  // namespace vcit
