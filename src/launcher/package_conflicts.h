#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vcit::launcher {

// What each listed package shares with the others: the files (by path, letter case ignored,
// "/" and "\" alike) that two or more of them hold, read from their zip directories once.
// Which of them the game takes is its own business: nothing here says.
class PackageConflicts {
 public:
  // How many shared paths a row's text names.
  static constexpr std::size_t kExamples = 3;
  // The names of all packages compared, together, at most (each package's directory is capped
  // by the zip reader): a package that would go beyond is told as too large to compare.
  static constexpr std::size_t kMaxNameBytes = 32u << 20;

  // Reads the packages (names, in row order) of the folder (ending in "\"). Never fails: a
  // package that cannot be read is told as such in its row's text.
  PackageConflicts(platform::FileSystem& files, const std::string& folder,
                   const std::vector<std::string>& packages);

  // The row's text with the marks as they are now (one per row, true for marked); empty when
  // the package shares nothing.
  std::string text(std::size_t row, const std::vector<bool>& marked) const;

 private:
  enum class State { Read, Damaged, TooLarge, Unreadable };
  struct Row {
    State state = State::Read;
    std::size_t shared = 0;             // files it shares with any other
    std::vector<std::size_t> withRow;   // files it shares with each row
    std::vector<std::string> examples;  // the first shared paths by name
  };

  std::vector<std::string> names_;
  std::vector<Row> rows_;
};

}  // namespace vcit::launcher
