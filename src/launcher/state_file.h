#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace vcit::launcher {

// The package state file: fixed records of a 50-character name field, filled with spaces, and
// one mark digit.
inline constexpr std::int32_t kRecordLength = 51;
inline constexpr std::size_t kNameLength = 50;

// The first record, from record 1 on, whose trimmed name equals the package name exactly.
// Record numbers are 16-bit: going past 32767 is error 6.
std::optional<std::string> findRecord(platform::RecordFile& file, const std::string& packageName);

// The record's mark digit taken as a number (error 13 when it is not one).
int markOf(const std::string& record);

// The record for a row: the trimmed name, filled with spaces to 50 characters, then the mark
// written as a decimal number. Error 5 when the trimmed name is longer than 50 characters.
std::string buildRecord(const std::string& name, int mark);

}  // namespace vcit::launcher
