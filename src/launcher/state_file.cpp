#include "launcher/state_file.h"

#include <algorithm>

#include "core/dynamic_value.h"
#include "core/runtime_error.h"
#include "core/text.h"

namespace vcit::launcher {
namespace {

constexpr auto kLength = static_cast<std::size_t>(kRecordLength);

// A space is the byte 0x20 in every code page, and never part of a multi-byte character
// (their later bytes are 0x40 or above), so trimming works on the bytes.
std::string_view trimmedName(std::string_view record) {
  return text::trimmedSpaces(record.substr(0, kNameLength));
}

// A package name as the records store it, trimmed; none for a name with spaces at its ends,
// which matches no record.
std::optional<std::string> storedName(const platform::FileSystem& files,
                                      const std::string& packageName) {
  if (text::trimmedSpaces(packageName) != packageName) return std::nullopt;
  return text::trimSpaces(files.recordBytes(packageName));
}

// 52 KB a read: few calls, and memory the next read can use again.
constexpr std::int32_t kRecordsPerRead = 1024;

}  // namespace

StateRecords::StateRecords(platform::RecordFile& file, const platform::FileSystem& files,
                           const std::vector<std::string>& packageNames)
    : file_(file), files_(files) {
  for (const auto& name : packageNames)
    if (const auto stored = storedName(files, name)) records_.try_emplace(*stored);
}

void StateRecords::read() {
  // In pieces, keeping only the records asked for: a file of 32767 records is read at every
  // start, and memory for all of it cost more than the rest of start-up's own work.
  std::int32_t count = 0;
  while (count < kLastRecordNumber) {
    const std::string bytes =
        file_.readRecords(count + 1, std::min(kRecordsPerRead, kLastRecordNumber - count));
    const std::string_view records(bytes);
    for (std::size_t at = 0; at + kLength <= records.size(); at += kLength, ++count) {
      const auto found = records_.find(trimmedName(records.substr(at, kLength)));
      if (found != records_.end() && !found->second)
        found->second = std::string(records.substr(at, kLength));
    }
    if (bytes.size() < kLength * static_cast<std::size_t>(kRecordsPerRead)) break;
  }
  full_ = count >= kLastRecordNumber;
  read_ = true;
}

std::optional<std::string> StateRecords::find(const std::string& packageName) {
  if (!read_) read();
  if (const auto stored = storedName(files_, packageName)) {
    const auto found = records_.find(*stored);
    if (found != records_.end() && found->second) return found->second;
  }
  if (full_) raise(err::kOverflow);
  return std::nullopt;
}

int markOf(const std::string& record) {
  // Digits are the same bytes in every code page; a byte from 0x80 on is no digit in any.
  const std::string mark = record.substr(kNameLength, 1);
  if (!mark.empty() && static_cast<unsigned char>(mark[0]) >= 0x80) raise(err::kTypeMismatch);
  return DynamicValue(mark).toLong();
}

std::string buildRecord(const platform::FileSystem& files, const std::string& name, int mark) {
  const std::string trimmed = text::trimSpaces(name);
  const std::string bytes = files.recordBytes(trimmed);
  if (text::length(trimmed) > kNameLength || bytes.size() > kNameLength)
    raise(err::kInvalidProcedureCall);
  return bytes + std::string(kNameLength - bytes.size(), ' ') + std::to_string(mark);
}

}  // namespace vcit::launcher
