#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The central directory of a zip archive (a .pk3): the names of the files it holds, read from
// the directory alone, without decompressing anything.
namespace vcit::zip {

// What one reading may cost, whatever the file holds: the end of the file searched for the
// end-of-directory record (the record, its longest comment and the zip64 locator before it),
// and the largest directory read. A directory beyond either cap is not read at all.
inline constexpr std::size_t kTailBytes = 22 + 0xFFFF + 20;
inline constexpr std::uint64_t kMaxDirectoryBytes = 8u << 20;  // 8 MiB
inline constexpr std::uint64_t kMaxEntries = 131072;

enum class Outcome {
  Read,      // every entry of the directory was read
  NotZip,    // no end-of-directory record: not a zip archive, or one cut short
  Damaged,   // a record that points outside the file, an entry cut short, counts that lie
  TooLarge,  // more entries or directory bytes than the caps allow
};

// The file entries' names (UTF-8), in the directory's order, duplicates kept; folder entries
// (a name ending in "/" or "\") and empty names left out. None unless Read. Held in one block
// of text, whatever their number.
struct Directory {
  Outcome outcome = Outcome::NotZip;
  std::string names;              // one after the other
  std::vector<std::size_t> ends;  // where each ends in names

  std::size_t size() const { return ends.size(); }
  std::string_view file(std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : ends[i - 1];
    return std::string_view(names).substr(begin, ends[i] - begin);
  }
  std::vector<std::string> files() const;
};

// Up to `count` bytes of the file from `offset` on: fewer only where the file ends.
using ReadAt = std::function<std::string(std::uint64_t offset, std::size_t count)>;

// Reads the directory of a file of `size` bytes: its last kTailBytes, then for each of at most
// four end-of-directory records found there its zip64 record and its directory. Names are code page
// 437, or UTF-8 where an entry's flag bit 11 says so (a name so flagged that is not UTF-8 is taken
// as code page 437).
Directory readDirectory(std::uint64_t size, const ReadAt& read);
// The same, of an archive held in memory.
Directory readDirectory(std::string_view archive);

// The text of code page 437 bytes.
std::string fromCodePage437(std::string_view bytes);

// A name as the game's Windows file system tells names apart: letter case folded, "\" as "/".
std::string pathKey(std::string_view name);
// The same, written at the end of `out`.
void appendPathKey(std::string& out, std::string_view name);

}  // namespace vcit::zip
