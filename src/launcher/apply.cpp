#include <cstdint>
#include <exception>
#include <string>
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

// A mark of an Apply under way that cannot be removed (another program holds it) only makes
// the next start show changes pending: no reason to report a failure.
void endPending(platform::FileSystem& files, const std::string& pending) {
  try {
    files.deleteFile(pending);
  } catch (const std::exception&) {
  }
}

// After a stop at a row's copy or delete, the state file keeps the records of the rows up to
// that one and no later ones, as when each record is written just before its row. They replace
// the file whole, as its first replacement went; another program (a virus scanner) may hold the
// file for a moment after that, so a refusal is tried again for most of a second. False when
// every try failed: the newer records stay (no mark is lost).
bool keepRecords(const platform::Platform& platform, platform::ProgressRun& progress,
                 const std::string& path, const std::string& records) {
  constexpr int kTries = 5;
  constexpr std::uint32_t kWaitMs = 200;
  for (int tried = 1;; ++tried) {
    try {
      platform.files.replaceContents(path, records);
      return true;
    } catch (const std::exception&) {
      if (tried == kTries) return false;
    }
    platform.system.pause(kWaitMs);
    progress.working();
  }
}

// What the file that marks an Apply under way says to someone who finds it.
constexpr const char* kPendingNote =
    "Apply did not finish: the launcher shows changes pending until it is done.\r\n";

// An Apply under way from here on is marked beside the state file, then every row's new
// record is put in place, in one step: killed at any moment from here to its end, Apply
// leaves each row its old mark or its new one, and the next start shows them with changes
// pending. Where the records cannot be put in place, nothing has changed: a mark this run
// made is taken away again.
void recordMarks(platform::FileSystem& files, const std::string& path, const std::string& records) {
  const std::string pending = launcher::pendingApplyPath(path);
  const bool pendingBefore = files.fileExists(pending);
  if (!pendingBefore) files.replaceContents(pending, kPendingNote);
  try {
    files.replaceContents(path, records);
  } catch (const std::exception&) {
    if (!pendingBefore) endPending(files, pending);
    throw;
  }
}

// The stop's report, its first line unchanged, telling that the state file kept marks of rows
// not applied.
RuntimeError withMarksAhead(const RuntimeError& error) {
  return RuntimeError(error.number(),
                      error.description() +
                          "\nThe marks shown at the next start may be ahead of the game's main "
                          "folder: press Apply again.");
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

    // Every row's new record is in place before the first package is touched.
    if (rows > 0)
      recordMarks(platform_.files, StateFilePath, records);
    else
      platform_.files.openRecordFile(StateFilePath, launcher::kRecordLength);  // kept as it is
    if (!GamePath.empty()) platform_.files.removePartialFiles(GamePath + "\\main\\");

    launcher::ApplyBatch batch(platform_.files, progress);
    try {
      for (const launcher::ApplyRow& row : plan) batch.add(row);
      batch.finish();
    } catch (const std::exception& e) {
      const auto kept = static_cast<std::size_t>(batch.rowsDone() + 1) * launcher::kRecordLength;
      if (!keepRecords(platform_, progress, StateFilePath, records.substr(0, kept)))
        throw withMarksAhead(ui::asRuntimeError(e));
      throw;
    }
    if (recordError) std::rethrow_exception(recordError);

    // Without rows, what a cut Apply left in main stays pending: its records stay too.
    if (rows > 0) endPending(platform_.files, launcher::pendingApplyPath(StateFilePath));
    setApplied(true);
  });
}

}  // namespace vcit
