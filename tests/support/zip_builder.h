#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vcit::testing {

// Writes zip archives byte by byte, from the format's public description, for the tests of
// the program's zip reader (and checked against libzip by a fuzz target): local headers with
// their data as given (stored, or already deflated), the central directory, the zip64 records
// when asked for, and the end-of-directory record. The overrides write lies into the records.
struct ZipEntry {
  std::string name;          // the name's bytes as stored
  std::string data;          // the data as stored
  std::uint16_t method = 0;  // 0 stored, 8 deflated
  bool utf8Flag = false;     // general-purpose flag bit 11
};

struct ZipOptions {
  bool zip64 = false;   // the zip64 record and locator, with 0xFFFF... in the old record
  std::string comment;  // the archive comment
  std::optional<std::uint64_t> entryCount;       // written instead of the real count
  std::optional<std::uint64_t> directorySize;    // ... size of the directory
  std::optional<std::uint64_t> directoryOffset;  // ... offset of the directory
};

std::string zipArchive(const std::vector<ZipEntry>& entries, const ZipOptions& options = {});
// Files of these names, each holding its own name.
std::string zipOfNames(const std::vector<std::string>& names, const ZipOptions& options = {});

// The bytes of an end-of-directory record (without its comment), as zipArchive writes it.
std::string endRecord(std::uint64_t entries, std::uint64_t size, std::uint64_t offset,
                      std::uint16_t commentLength);

}  // namespace vcit::testing
