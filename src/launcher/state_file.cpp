#include "launcher/state_file.h"

#include "core/dynamic_value.h"
#include "core/runtime_error.h"
#include "core/text.h"

namespace vcit::launcher {
namespace {

// A space is the byte 0x20 in every code page, and never part of a multi-byte character
// (their later bytes are 0x40 or above), so trimming works on the bytes.
std::string trimmedName(const std::string& record) {
  return text::trimSpaces(std::string_view(record).substr(0, kNameLength));
}

}  // namespace

void StateRecords::read() {
  std::int32_t number = 1;
  for (; number <= kLastRecordNumber; ++number) {
    std::optional<std::string> record = file_.read(number);
    if (!record) break;
    first_.try_emplace(trimmedName(*record), std::move(*record));
  }
  full_ = number > kLastRecordNumber;
  read_ = true;
}

std::optional<std::string> StateRecords::find(const std::string& packageName) {
  if (!read_) read();
  if (text::trimSpaces(packageName) == packageName) {
    if (const auto it = first_.find(text::trimSpaces(files_.recordBytes(packageName)));
        it != first_.end())
      return it->second;
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
