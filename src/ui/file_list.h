#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vcit::ui {

// A file list: the files of one folder that match its pattern, in the list's own stable order.
// It is never shown; it only enumerates.
class FileList {
 public:
  explicit FileList(std::string pattern) : pattern_(std::move(pattern)) {}

  const std::string& pattern() const { return pattern_; }
  // Lists the folder again; error 76 when the folder does not exist.
  void setPath(platform::FileSystem& files, const std::string& folder) {
    entries_ = files.listFiles(folder, pattern_);
    path_ = folder;
    listIndex_ = -1;
  }
  const std::string& path() const { return path_; }
  long listCount() const { return static_cast<long>(entries_.size()); }
  // Every entry's name and extension, in the list's order.
  const std::vector<std::string>& fileNames() const { return entries_; }
  // Error 380 for an index outside the entries.
  void setListIndex(long index);
  // The selected entry's name and extension, without folder; empty when none is selected.
  std::string fileName() const {
    return listIndex_ < 0 ? std::string() : entries_[static_cast<std::size_t>(listIndex_)];
  }

 private:
  std::string pattern_;
  std::string path_;
  std::vector<std::string> entries_;
  long listIndex_ = -1;
};

}  // namespace vcit::ui
