#include "launcher/apply_batch.h"

#include <exception>
#include <functional>

#include "core/runtime_error.h"
#include "core/text.h"
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

bool needsCopy(platform::FileSystem& files, const ApplyRow& row) {
  return row.marked() && !isCurrent(files, row.source, row.target);
}

namespace {

// A package gone from the folder since the rows were filled is passed over: its row gets no
// copy, and Apply goes on.
bool packageIsMissing(const RuntimeError& e) {
  return e.number() == err::kFileNotFound;
}

bool diskIsFull(const RuntimeError& e) {
  return e.number() == err::kDiskFull;
}

}  // namespace

void ApplyBatch::add(const ApplyRow& row) {
  // A target that a held row also names is changed in row order: the held rows go first.
  const std::string key = text::foldCase(row.target);
  if (targets_.count(key)) finish();

  Held held{row, nullptr};
  if (needsCopy(files_, row)) held.copy = copyOf(row);
  held_.push_back(std::move(held));
  targets_.insert(key);
}

void ApplyBatch::finish() {
  std::vector<Held> rows = std::move(held_);
  held_.clear();
  targets_.clear();
  // A flush that fails is left to the commit of its row, which tries it again, in row order.
  // Each flush may wait long for the disk; meanwhile and between them the window is kept
  // alive. What fails in that (a window's handler) stops the batch as any error does, before
  // any of its rows is done.
  std::exception_ptr aliveError;
  const auto keepAlive = [&] {
    try {
      progress_.working();
    } catch (...) {
      aliveError = std::current_exception();
      throw;
    }
  };
  try {
    for (Held& h : rows) {
      if (!h.copy) continue;
      h.copy->flush(keepAlive);
      keepAlive();
    }
  } catch (const std::exception&) {
    if (aliveError) std::rethrow_exception(aliveError);
  }
  for (Held& h : rows) {
    if (h.copy) {
      h.copy->commit();
      progress_.working();
    } else if (!h.row.marked()) {
      ui::skipFileNotFound([&] { files_.deleteFile(h.row.target); });
    }
    ++rowsDone_;
  }
}

// The row's copy, staged; none for a missing package. A full disk is tried again once room is
// made; any other error ends the batch.
std::unique_ptr<platform::StagedCopy> ApplyBatch::copyOf(const ApplyRow& row) {
  bool inPlaceOfOld = false;
  for (;;) {
    try {
      return stage(row, inPlaceOfOld);
    } catch (const RuntimeError& e) {
      if (packageIsMissing(e)) return nullptr;
      if (!diskIsFull(e) || !makeRoom(row, inPlaceOfOld)) fail();
    } catch (...) {
      fail();
    }
  }
}

// inPlaceOfOld: the old target is deleted to make room, but only once the source is open and
// held, so that a copy failing on its source (locked, gone) leaves the old version in place.
std::unique_ptr<platform::StagedCopy> ApplyBatch::stage(const ApplyRow& row, bool inPlaceOfOld) {
  lastWritten_ = 0;
  std::function<void()> freeOld;
  if (inPlaceOfOld) freeOld = [&] { ui::skipFileNotFound([&] { files_.deleteFile(row.target); }); };
  const auto told = [&](std::uint64_t bytes) {
    lastWritten_ = bytes;
    progress_.advance(copiedBefore_ + bytes);
  };
  auto copy = files_.stageCopy(row.source, row.target, told, freeOld);
  copiedBefore_ += lastWritten_;
  return copy;
}

// The row's copy found the disk full after writing lastWritten_ bytes, about the room there
// was. Doing the rows in turn, the held rows would have been done before it, freeing the room
// of the old versions their copies replace and of the packages they delete; and its copy
// would have overwritten its old target, so that room counts too: the copy is then made again
// in place of the old target (inPlaceOfOld). False when no more can be freed, or the copy
// would not fit even so: the old target then stays.
bool ApplyBatch::makeRoom(const ApplyRow& row, bool& inPlaceOfOld) {
  if (!held_.empty()) {
    finish();
    return true;
  }
  if (inPlaceOfOld) return false;
  const auto old = files_.facts(row.target);
  const auto source = files_.facts(row.source);
  if (!old || !source || source->size > lastWritten_ + old->size) return false;
  inPlaceOfOld = true;
  return true;
}

// Ends the batch at a row whose copy failed: the rows before it are done, and the error goes
// on.
void ApplyBatch::fail() {
  const std::exception_ptr error = std::current_exception();
  finish();
  std::rethrow_exception(error);
}

}  // namespace vcit::launcher
