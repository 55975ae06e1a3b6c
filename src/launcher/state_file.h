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
// digit. Names are in the system code page where it holds them (storedName); records are bytes.
inline constexpr std::int32_t kRecordLength = 51;
inline constexpr std::size_t kNameLength = 50;
// Record numbers are 16-bit: a lookup counts no further than this.
inline constexpr std::int32_t kLastRecordNumber = 32767;

// A name (trimmed) as a record stores it, at most 50 bytes: its bytes in the code page when the
// page holds it exactly, in 50 bytes, and it has no "?"; otherwise "?" and its UTF-8 bytes when
// they fit; otherwise "?", its first UTF-8 bytes (whole characters), the byte 0xFF (never part
// of UTF-8) and 16 hex digits of a 64-bit hash of its UTF-8. So no two names store alike, and
// a name with "?" (Wine lists them) is not taken for another's escaped form. Nothing for a
// name no record holds: one with spaces at its ends, or of more than 50 characters.
std::optional<std::string> storedName(const platform::FileSystem& files, const std::string& name);

// The records of the listed packages in the state file, read once, at the first lookup: for
// every name, the first record that holds it. Lives no longer than the open file.
class StateRecords {
 public:
  // Whether the game's main folder holds the listed package.
  using InMain = std::function<bool(const std::string& packageName)>;

  // packageNames: the names find is asked for (another name is one without a record).
  // inMain: none when there is no main folder.
  StateRecords(platform::RecordFile& file, const platform::FileSystem& files,
               const std::vector<std::string>& packageNames, InMain inMain = {});

  // The first record whose name, without its leading and trailing spaces, is the package
  // name (the listed name, not trimmed: one with spaces at its ends matches nothing) as the
  // writer stores it (storedName); when none is, the first that holds the name as earlier
  // builds stored it (the code page's default conversion), unless another listed name is or
  // was stored so too. Such a record's mark 1 counts only where main holds the package, as
  // those builds left it: else the package has no record (a look-alike new in the folder
  // takes no mark of one gone). Error 6 when no record is found and the file holds 32767
  // records or more: looking further would count past the last record number.
  std::optional<std::string> find(const std::string& packageName);

 private:
  void read();

  platform::RecordFile& file_;
  InMain inMain_;
  bool read_ = false;
  struct Forms {
    std::string today;                   // storedName
    std::optional<std::string> earlier;  // when another, and no other listed name's
  };
  std::map<std::string, Forms, std::less<>> forms_;  // by listed name
  // Each form asked for, and the first record that holds it.
  std::map<std::string, std::optional<std::string>, std::less<>> records_;
  bool full_ = false;  // record 32767 is there
};

// Beside the state file while an Apply is under way: written before Apply changes anything,
// removed at its end. A start-up that finds it shows the marks with changes pending, since
// the game's main folder may hold only part of what they ask for.
std::string pendingApplyPath(const std::string& stateFilePath);

// The record's mark digit taken as a number (error 13 when it is not one).
int markOf(const std::string& record);

// The record for a row: the trimmed name as stored (storedName), filled with spaces to 50
// bytes, then the mark written as a decimal number. Error 5 when the trimmed name is longer
// than 50 characters.
std::string buildRecord(const platform::FileSystem& files, const std::string& name, int mark);

}  // namespace vcit::launcher
