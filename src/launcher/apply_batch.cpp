#include "launcher/apply_batch.h"

#include <exception>

#include "core/runtime_error.h"
#include "core/text.h"
#include "launcher/state_file.h"
#include "ui/check_box.h"
#include "ui/handlers.h"

namespace vcit::launcher {

bool ApplyRow::marked() const {
  return mark == ui::CheckBox::kChecked;
}

bool isCurrent(platform::FileSystem& files, const std::string& source, const std::string& target) {
  const auto from = files.facts(source);
  const auto to = files.facts(target);
  return from && to && from->size == to->size && from->lastWriteTime == to->lastWriteTime;
}

void ApplyBatch::add(const ApplyRow& row) {
  Held held{row, {}, nullptr};
  try {
    held.record = buildRecord(files_, row.name, row.mark);
  } catch (...) {
    finish();  // the rows before this one are done, this one is not recorded
    throw;
  }
  // A target that a held row also names is changed in row order: the held rows go first.
  const std::string key = text::foldCase(row.target);
  if (targets_.count(key)) finish();

  if (row.marked() && !isCurrent(files_, row.source, row.target)) {
    for (bool retried = false;;) {
      try {
        held.copy = stage(row);
        break;
      } catch (const RuntimeError& e) {
        if (e.number() == err::kFileNotFound) break;  // the package is gone: passed over
        // The held copies' temporary files may be what filled the disk; in place, they free
        // the old targets' room.
        if (e.number() == err::kDiskFull && !retried && holdsCopies()) {
          finish();
          retried = true;
          continue;
        }
        failAt(held);
      } catch (...) {
        failAt(held);
      }
    }
  }
  held_.push_back(std::move(held));
  targets_.insert(key);
}

void ApplyBatch::finish() {
  std::vector<Held> rows = std::move(held_);
  held_.clear();
  targets_.clear();
  // A flush that fails is left to the commit of its row, which tries it again, in row order.
  // Each flush may wait long for the disk; between them the window is kept alive.
  try {
    for (Held& h : rows) {
      if (!h.copy) continue;
      h.copy->flush();
      progress_.working();
    }
  } catch (const std::exception&) {
  }
  for (Held& h : rows) {
    stateFile_.write(h.row.index + 1, h.record);
    if (h.copy) {
      h.copy->commit();
      progress_.working();
    } else if (!h.row.marked()) {
      ui::skipFileNotFound([&] { files_.deleteFile(h.row.target); });
    }
  }
}

std::unique_ptr<platform::StagedCopy> ApplyBatch::stage(const ApplyRow& row) {
  std::uint64_t copied = 0;
  auto copy = files_.stageCopy(row.source, row.target, [&](std::uint64_t bytes) {
    copied = bytes;
    progress_.advance(copiedBefore_ + copied);
  });
  copiedBefore_ += copied;
  return copy;
}

bool ApplyBatch::holdsCopies() const {
  for (const Held& h : held_)
    if (h.copy) return true;
  return false;
}

// Ends the batch at a row whose copy failed: the rows before it are done, its own record is
// written, and the error goes on.
void ApplyBatch::failAt(const Held& row) {
  const std::exception_ptr error = std::current_exception();
  finish();
  stateFile_.write(row.row.index + 1, row.record);
  std::rethrow_exception(error);
}

}  // namespace vcit::launcher
