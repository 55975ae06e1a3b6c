#include <string>
#include <vector>

#include "core/text.h"
#include "launcher/launcher.h"
#include "launcher/package_conflicts.h"

namespace vcit {

std::string frmLauncher::SharedFiles(std::int16_t index) {
  if (index < 0 || index >= ModCount) return {};
  if (!conflicts_) {
    std::vector<std::string> packages;
    for (std::int16_t i = 0; i < ModCount; ++i)
      packages.push_back(text::trimSpaces(txtPk3(i).text()));
    conflicts_ = std::make_unique<launcher::PackageConflicts>(platform_.files, ModsDir, packages);
  }
  std::vector<bool> marked;
  for (std::int16_t i = 0; i < ModCount; ++i)
    marked.push_back(chkActive(i).value() == ui::CheckBox::kChecked);
  return conflicts_->text(static_cast<std::size_t>(index), marked);
}

}  // namespace vcit
