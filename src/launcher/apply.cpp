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

void frmLauncher::Apply() {
  ui::reportAndStop(platform_.messages, [&] {
    // Without a game folder the targets would be a "\main\" folder at the root of the drive;
    // with no rows there is no target, and Apply completes.
    const std::int16_t rows = ModCount;
    if (GamePath.empty() && rows > 0) raise(err::kPathNotFound);
    std::vector<launcher::ApplyRow> plan;
    std::uint64_t bytesToCopy = 0;
    for (std::int16_t i = 0; i < rows; ++i) {
      launcher::ApplyRow& row = plan.emplace_back();
      row.index = i;
      row.name = text::trimSpaces(txtPk3(i).text());
      row.mark = chkActive(i).value();
      row.source = ModsDir + row.name;
      row.target = GamePath + "\\main\\" + row.name;
      if (!row.marked() || launcher::isCurrent(platform_.files, row.source, row.target)) continue;
      if (const auto facts = platform_.files.facts(row.source)) bytesToCopy += facts->size;
    }
    ui::ProgressOnBar shown(platform_.progress, prgApply);
    platform::ProgressRun progress(shown, bytesToCopy);

    if (rows > 0) ui::skipFileNotFound([&] { platform_.files.deleteFile(StateFilePath); });
    auto stateFile = platform_.files.openRecordFile(StateFilePath, launcher::kRecordLength);
    launcher::ApplyBatch batch(platform_.files, *stateFile, progress);
    for (const launcher::ApplyRow& row : plan) batch.add(row);
    batch.finish();
    stateFile.reset();

    Applied = true;
    cmdApply.setEnabled(false);
  });
}

}  // namespace vcit
