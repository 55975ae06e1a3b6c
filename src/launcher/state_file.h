#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace vcit::launcher {

// The package state file: records of a 50-byte name field, filled with spaces, and one mark
// digit. Names are in the system code page (FileSystem::recordBytes); records are bytes.
inline constexpr std::int32_t kRecordLength = 51;
inline constexpr std::size_t kNameLength = 50;
// Record numbers are 16-bit: a lookup counts no further than this.
inline constexpr std::int32_t kLastRecordNumber = 32767;

// The records of the listed packages in the state file, read once, at the first lookup: for
// every name, the first record that holds it. Lives no longer than the open file.
class StateRecords {
 public:
  // packageNames: the names find is asked for (another name is one without a record).
  StateRecords(platform::RecordFile& file, const platform::FileSystem& files,
               const std::vector<std::string>& packageNames);

  // The first record whose name, without its leading and trailing spaces, is the package
  // name (the listed name, not trimmed: one with spaces at its ends matches nothing) as the
  // writer stores it. Error 6 when none is and the file holds 32767 records or more: looking
  // further would count past the last record number.
  std::optional<std::string> find(const std::string& packageName);

 private:
  void read();

  platform::RecordFile& file_;
  const platform::FileSystem& files_;
  bool read_ = false;
  // The stored name of each package, trimmed, and the first record that holds it.
  std::map<std::string, std::optional<std::string>, std::less<>> records_;
  bool full_ = false;  // record 32767 is there
};

// The record's mark digit taken as a number (error 13 when it is not one).
int markOf(const std::string& record);

// The record for a row: the trimmed name in the code page, filled with spaces to 50 bytes,
// then the mark written as a decimal number. Error 5 when the trimmed name is longer than 50
// characters or takes more than 50 bytes.
std::string buildRecord(const platform::FileSystem& files, const std::string& name, int mark);

}  // namespace vcit::launcher
