#include "launcher/state_file.h"

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

}  // namespace

void StateRecords::read() {
  // In one piece and without a map: a file of 32767 records is read at every start, and an
  // allocation per record cost more than the rest of start-up's own work.
  bytes_ = file_.readRecords(1, kLastRecordNumber);
  const std::size_t count = bytes_.size() / kLength;
  names_.clear();
  names_.reserve(count);
  for (std::size_t i = 0; i < count; ++i)
    names_.push_back(trimmedName(std::string_view(bytes_).substr(i * kLength, kLength)));
  full_ = count >= static_cast<std::size_t>(kLastRecordNumber);
  read_ = true;
}

std::optional<std::string> StateRecords::find(const std::string& packageName) {
  if (!read_) read();
  if (text::trimSpaces(packageName) == packageName) {
    const std::string name = text::trimSpaces(files_.recordBytes(packageName));
    // A scan in file order: the first equal name wins. At most 16 packages are looked up.
    for (std::size_t i = 0; i < names_.size(); ++i)
      if (names_[i] == name) return bytes_.substr(i * kLength, kLength);
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
