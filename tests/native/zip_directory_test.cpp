#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/zip_directory.h"
#include "support/zip_builder.h"

namespace vcit {
namespace {

using testing::endRecord;
using testing::zipArchive;
using testing::zipOfNames;
using zip::Outcome;

// "textures/wall.tga textures/wall.tga", deflated (by Python's zlib, raw deflate).
const std::string kDeflated =
    "\x2b\x49\xad\x28\x29\x2d\x4a\x2d\xd6\x2f\x4f\xcc\xc9\xd1\x2b\x49\x4f\x54\x28\x41\x17\x01\x00";

std::string cutAfter(std::string bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

std::vector<std::string> manyNames(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back("textures/n" + std::to_string(i) + ".tga");
  return names;
}

// Archive options, one at a time.
testing::ZipOptions with(void (*set)(testing::ZipOptions&)) {
  testing::ZipOptions options;
  set(options);
  return options;
}

const std::string kTwo = zipOfNames({"maps/dm1.bsp", "sound/hit.wav"});

// A comment that holds an end-of-directory record of its own: its comment length reaches the
// end of the file, and it points at the first local header, not at a directory.
std::string withFalseRecordInComment() {
  const std::string trailer = "-- made by hand";
  std::string comment = endRecord(1, 46, 0, static_cast<std::uint16_t>(trailer.size())) + trailer;
  return zipOfNames({"maps/dm1.bsp"}, [&] {
    testing::ZipOptions o;
    o.comment = comment;
    return o;
  }());
}

struct Case {
  const char* what;
  std::string archive;
  Outcome outcome;
  std::vector<std::string> files;  // or, for a long directory, just the count
  std::size_t count = 0;
};

TEST(ZipDirectory, ReadsTheNamesOfEveryKindOfArchiveAndRefusesBrokenOnes) {
  const Case cases[] = {
      {"stored and deflated entries, folder entries left out",
       zipArchive({{"maps/", ""},
                   {"maps/dm1.bsp", "BSP"},
                   {"textures\\", ""},
                   {"textures/wall.tga", kDeflated, 8}}),
       Outcome::Read,
       {"maps/dm1.bsp", "textures/wall.tga"}},
      {"zip64 records",
       zipOfNames({"a.txt", "b/c.txt"}, with([](auto& o) { o.zip64 = true; })),
       Outcome::Read,
       {"a.txt", "b/c.txt"}},
      {"UTF-8 flag; code page 437 without it; a flagged name that is not UTF-8",
       zipArchive({{"T\xC3\xBCr.tga", "x", 0, true},
                   {"T\x81r\xE1\xDB.tga", "x"},
                   {"\x81x.tga", "x", 0, true}}),
       Outcome::Read,
       {"Tür.tga", "Türß█.tga", "üx.tga"}},
      {"duplicate names kept",
       zipOfNames({"a.txt", "A.TXT", "a.txt"}),
       Outcome::Read,
       {"a.txt", "A.TXT", "a.txt"}},
      {"an empty archive", zipOfNames({}), Outcome::Read, {}},
      {"a comment holding a false signature",
       withFalseRecordInComment(),
       Outcome::Read,
       {"maps/dm1.bsp"}},
      {"100000 entries (zip64)",
       zipOfNames(manyNames(100000), with([](auto& o) { o.zip64 = true; })),
       Outcome::Read,
       {},
       100000},
      {"truncated in the directory", cutAfter(kTwo, kTwo.size() - 40), Outcome::NotZip, {}},
      {"truncated by its last byte", cutAfter(kTwo, kTwo.size() - 1), Outcome::NotZip, {}},
      {"a leading part cut off", kTwo.substr(10), Outcome::Damaged, {}},
      {"a count above what the directory can hold",
       zipOfNames({"a.txt"}, with([](auto& o) { o.entryCount = 65000; })),
       Outcome::Damaged,
       {}},
      {"a zip64 count of 2^63",
       zipOfNames({"a.txt"}, with([](auto& o) { o.zip64 = true, o.entryCount = 1ull << 63; })),
       Outcome::Damaged,
       {}},
      {"a count below the entries there",
       zipOfNames({"a.txt", "b.txt"}, with([](auto& o) { o.entryCount = 1; })),
       Outcome::Damaged,
       {}},
      {"a directory larger than the file",
       zipOfNames({"a.txt"}, with([](auto& o) { o.directorySize = 1u << 30; })),
       Outcome::Damaged,
       {}},
      {"a directory offset past the record",
       zipOfNames({"a.txt"}, with([](auto& o) { o.directoryOffset = 4000; })),
       Outcome::Damaged,
       {}},
      {"not a zip", "This is a text file renamed to .pk3, not a zip archive.", Outcome::NotZip, {}},
      {"an empty file", "", Outcome::NotZip, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const zip::Directory d = zip::readDirectory(c.archive);
    EXPECT_EQ(d.outcome, c.outcome);
    if (c.count)
      EXPECT_EQ(d.size(), c.count);
    else
      EXPECT_EQ(d.files(), c.files);
  }
}

TEST(ZipDirectory, ReadsLittleOfAHugeFileWhoseDirectoryPassesTheCaps) {
  // A 1 TiB file whose zip64 record claims a directory of 200000 entries in 64 MiB: nothing
  // but the tail and the zip64 record is read.
  const std::uint64_t size = 1ull << 40;
  std::string tail = zipOfNames(manyNames(1), [&] {
    testing::ZipOptions o;
    o.zip64 = true, o.entryCount = 200000, o.directorySize = 64u << 20;
    o.directoryOffset = size - (128u << 20);
    return o;
  }());
  tail = tail.substr(tail.find("PK\x06\x06"));  // the zip64 record, its locator, the record
  const std::uint64_t tailAt = size - tail.size();
  for (std::size_t i = 0; i < 8; ++i)  // the locator's offset of the zip64 record
    tail[tail.size() - 22 - 20 + 8 + i] = static_cast<char>(tailAt >> (8 * i) & 0xFF);
  std::uint64_t bytesRead = 0;
  const zip::Directory d = zip::readDirectory(size, [&](std::uint64_t at, std::size_t count) {
    bytesRead += count;
    std::string bytes;
    for (std::uint64_t p = at; p < at + count && p < size; ++p)
      bytes += p < tailAt ? '\0' : tail[static_cast<std::size_t>(p - tailAt)];
    return bytes;
  });
  EXPECT_EQ(d.outcome, Outcome::TooLarge);
  EXPECT_LE(bytesRead, zip::kTailBytes + 56);
}

}  // namespace
}  // namespace vcit
