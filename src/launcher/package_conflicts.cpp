#include "launcher/package_conflicts.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string_view>

#include "core/assertion.h"
#include "core/runtime_error.h"
#include "core/text.h"
#include "core/zip_directory.h"

namespace vcit::launcher {

namespace {

// One file entry of a package: its path as compared (in the row's keys), the row, and where
// its name is in the row's directory.
struct Entry {
  std::size_t hash;  // sorted by it first: most comparisons compare numbers
  std::string_view key;
  std::uint32_t row;
  std::uint32_t index;
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
  // Every package's paths, sorted together: the entries of one path lie side by side. Few
  // allocations, whatever the number of entries: each row's keys in one block of text.
  std::vector<zip::Directory> directories(packages.size());
  std::vector<std::string> keys(packages.size());
  std::vector<std::vector<std::size_t>> keyEnds(packages.size());
  std::size_t total = 0;
  std::size_t nameBytes = 0;
  for (std::size_t i = 0; i < packages.size(); ++i) {
    Row& row = rows_[i];
    row.withRow.assign(packages.size(), 0);
    try {
      directories[i] = readPackage(files, folder + packages[i]);
    } catch (const RuntimeError&) {
      row.state = State::Unreadable;  // gone since start-up, or held by another program
      continue;
    }
    zip::Directory& directory = directories[i];
    if (directory.names.size() > kMaxNameBytes - nameBytes) {
      directory = zip::Directory();
      directory.outcome = zip::Outcome::TooLarge;
    }
    nameBytes += directory.names.size();
    if (directory.outcome == zip::Outcome::TooLarge) row.state = State::TooLarge;
    if (directory.outcome == zip::Outcome::NotZip || directory.outcome == zip::Outcome::Damaged)
      row.state = State::Damaged;
    keyEnds[i].reserve(directory.size());
    keys[i].reserve(directory.names.size());
    for (std::size_t k = 0; k < directory.size(); ++k) {
      zip::appendPathKey(keys[i], directory.file(k));
      keyEnds[i].push_back(keys[i].size());
    }
    total += directory.size();
  }
  std::vector<Entry> entries;
  entries.reserve(total);
  for (std::size_t i = 0; i < packages.size(); ++i) {
    std::size_t begin = 0;
    for (std::size_t k = 0; k < keyEnds[i].size(); ++k) {
      const std::string_view key(keys[i].data() + begin, keyEnds[i][k] - begin);
      entries.push_back({std::hash<std::string_view>()(key), key, static_cast<std::uint32_t>(i),
                         static_cast<std::uint32_t>(k)});
      begin = keyEnds[i][k];
    }
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.hash != b.hash) return a.hash < b.hash;
    if (a.key != b.key) return a.key < b.key;
    return a.row != b.row ? a.row < b.row : a.index < b.index;
  });
  // Each row's first few shared paths by key, whatever the order of the hashes, each as the
  // entry (of the first row that holds it) that spells it.
  std::vector<std::vector<const Entry*>> examples(rows_.size());
  const auto keyBefore = [](const Entry* entry, std::string_view key) { return entry->key < key; };

  for (std::size_t first = 0; first < entries.size();) {
    std::size_t last = first + 1;
    std::uint32_t holders = 1u << entries[first].row;
    for (; last < entries.size() && entries[last].key == entries[first].key; ++last)
      holders |= 1u << entries[last].row;
    if (std::popcount(holders) >= 2) {
      const std::string_view key = entries[first].key;
      for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (!(holders >> i & 1)) continue;
        Row& row = rows_[i];
        ++row.shared;
        for (std::size_t j = 0; j < rows_.size(); ++j)
          if (j != i && (holders >> j & 1)) ++row.withRow[j];
        auto& least = examples[i];
        const auto at = std::lower_bound(least.begin(), least.end(), key, keyBefore);
        if (at - least.begin() < static_cast<std::ptrdiff_t>(kExamples)) {
          least.insert(at, &entries[first]);
          if (least.size() > kExamples) least.pop_back();
        }
      }
    }
    first = last;
  }
  for (std::size_t i = 0; i < rows_.size(); ++i)
    for (const Entry* entry : examples[i])
      rows_[i].examples.emplace_back(directories[entry->row].file(entry->index));
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
