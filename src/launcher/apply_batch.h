#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/progress.h"

namespace vcit::launcher {

// One package row of an Apply, as the window shows it.
struct ApplyRow {
  std::int16_t index = 0;  // from 0; its record is number index + 1
  std::string name;        // trimmed
  int mark = 0;
  std::string source;
  std::string target;
  bool marked() const;  // only the mark 1 counts as marked
};

// True when the target already is the source's package: a copy keeps the source's size and
// last-write time, so applying again copies only what changed.
bool isCurrent(platform::FileSystem& files, const std::string& source, const std::string& target);
// True when Apply copies the row's package: it is marked and its target is not current.
bool needsCopy(platform::FileSystem& files, const ApplyRow& row);

// Does the rows' file steps as a batch: a row's copy is written to its temporary file when the
// row is added, and when the batch finishes all those files are flushed together, then each
// row in order gets its copy put in place or its target deleted. Writing every copy before the
// first flush lets the disk take the data in one pass instead of a wait per package.
//
// Seen from outside, each row is done to its end before the next: when row k fails, the rows
// before it are done (rowsDone() is k) and later rows are not touched (their temporary files
// are removed). A missing package (error 53) is passed over, as a target already current is;
// every other error propagates. A copy that finds the disk full first gets the room that doing
// the rows in turn would have given it.
class ApplyBatch {
 public:
  ApplyBatch(platform::FileSystem& files, platform::ProgressRun& progress)
      : files_(files), progress_(progress) {}

  void add(const ApplyRow& row);
  void finish();
  // How many rows, from the first on, have had their file step done.
  std::int32_t rowsDone() const { return rowsDone_; }

 private:
  struct Held {
    ApplyRow row;
    std::unique_ptr<platform::StagedCopy> copy;  // none when there is nothing to put in place
  };

  std::unique_ptr<platform::StagedCopy> copyOf(const ApplyRow& row);
  std::unique_ptr<platform::StagedCopy> stage(const ApplyRow& row, bool inPlaceOfOld);
  bool makeRoom(const ApplyRow& row, bool& inPlaceOfOld);
  [[noreturn]] void fail();

  platform::FileSystem& files_;
  platform::ProgressRun& progress_;
  std::vector<Held> held_;
  std::set<std::string> targets_;   // of the held rows, letter case folded
  std::uint64_t copiedBefore_ = 0;  // bytes of the copies staged so far
  std::uint64_t lastWritten_ = 0;   // bytes the latest stage wrote, also one that failed
  std::int32_t rowsDone_ = 0;
};

}  // namespace vcit::launcher
