#include "launcher/package_conflicts.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <unordered_map>

#include "core/assertion.h"
#include "core/runtime_error.h"
#include "core/text.h"
#include "core/zip_directory.h"

namespace vcit::launcher {

namespace {

// A path, the rows that hold it (a bit each) and its spelling in the first of them.
struct Holders {
  std::uint32_t rows = 0;
  std::string shown;
};

std::string count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

zip::Directory readPackage(platform::FileSystem& files, const std::string& path) {
  const std::unique_ptr<platform::ReadableFile> file = files.openToRead(path);
  if (!file) raise(err::kFileNotFound);
  return zip::readDirectory(file->size(), [&](std::uint64_t offset, std::size_t size) {
    return file->readAt(offset, size);
  });
}

}  // namespace

PackageConflicts::PackageConflicts(platform::FileSystem& files, const std::string& folder,
                                   const std::vector<std::string>& packages)
    : names_(packages), rows_(packages.size()) {
  VCIT_ASSERT(packages.size() <= 32);  // a bit each
  std::unordered_map<std::string, Holders> paths;
  for (std::size_t i = 0; i < packages.size(); ++i) {
    Row& row = rows_[i];
    row.withRow.assign(packages.size(), 0);
    zip::Directory directory;
    try {
      directory = readPackage(files, folder + packages[i]);
    } catch (const RuntimeError&) {
      row.state = State::Unreadable;  // gone since start-up, or held by another program
      continue;
    }
    if (directory.outcome == zip::Outcome::TooLarge) row.state = State::TooLarge;
    if (directory.outcome == zip::Outcome::NotZip || directory.outcome == zip::Outcome::Damaged)
      row.state = State::Damaged;
    for (std::string& name : directory.files) {
      Holders& holders = paths[zip::pathKey(name)];
      if (holders.rows == 0) holders.shown = std::move(name);
      holders.rows |= 1u << i;
    }
  }
  for (const auto& [key, holders] : paths) {
    if (std::popcount(holders.rows) < 2) continue;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (!(holders.rows >> i & 1)) continue;
      Row& row = rows_[i];
      ++row.shared;
      for (std::size_t j = 0; j < rows_.size(); ++j)
        if (j != i && (holders.rows >> j & 1)) ++row.withRow[j];
      // The first few by name, whatever the map's order.
      auto& examples = row.examples;
      const auto at = std::lower_bound(examples.begin(), examples.end(), holders.shown,
                                       [](const std::string& a, const std::string& b) {
                                         return text::compareIgnoreCase(a, b) < 0 ||
                                                (text::compareIgnoreCase(a, b) == 0 && a < b);
                                       });
      if (at - examples.begin() < static_cast<std::ptrdiff_t>(kExamples)) {
        examples.insert(at, holders.shown);
        if (examples.size() > kExamples) examples.pop_back();
      }
    }
  }
}

std::string PackageConflicts::text(std::size_t row, const std::vector<bool>& marked) const {
  if (row >= rows_.size()) return {};
  const Row& r = rows_[row];
  switch (r.state) {
    case State::Damaged:
      return "This package is not a readable zip archive: the game may not load it.";
    case State::TooLarge:
      return "This package lists too many files for the launcher to compare it with the others.";
    case State::Unreadable:
      return "The launcher could not read this package to compare it with the others.";
    case State::Read:
      break;
  }
  if (r.shared == 0) return {};
  std::size_t others = 0;
  for (std::size_t n : r.withRow) others += n > 0;
  std::string out = "Shares " + count(r.shared, "file", "files") + " with " +
                    count(others, "other package", "other packages") + ":";
  for (std::size_t j = 0; j < r.withRow.size(); ++j) {
    if (r.withRow[j] == 0) continue;
    const bool isMarked = j < marked.size() && marked[j];
    out += "\n" + names_[j] + (isMarked ? " (marked): " : " (not marked): ") +
           count(r.withRow[j], "file", "files");
  }
  out += r.shared > r.examples.size() ? "\nAmong them:" : "\nShared:";
  for (const std::string& path : r.examples) out += "\n" + path;
  return out;
}

}  // namespace vcit::launcher
