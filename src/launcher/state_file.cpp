#include "launcher/state_file.h"

#include <algorithm>
#include <utility>

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

constexpr std::size_t kHashDigits = 16;
constexpr char kHashSeparator = '\xFF';

// "?" and the UTF-8 bytes; when they take more than the name field, only the whole characters
// of the first 32 bytes, then the separator and the hash of all of them.
std::string escaped(const std::string& utf8) {
  if (1 + utf8.size() <= kNameLength) return "?" + utf8;
  std::size_t cut = kNameLength - 2 - kHashDigits;
  while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
  return "?" + utf8.substr(0, cut) + kHashSeparator + text::hashHex(utf8);
}

// 52 KB a read: few calls, and memory the next read can use again.
constexpr std::int32_t kRecordsPerRead = 1024;

}  // namespace

std::optional<std::string> storedName(const platform::FileSystem& files, const std::string& name) {
  if (text::trimmedSpaces(name) != name || text::length(name) > kNameLength) return std::nullopt;
  if (name.find('?') == std::string::npos) {
    std::optional<std::string> bytes = files.exactCodePageBytes(name);
    if (bytes && bytes->size() <= kNameLength) return bytes;
  }
  return escaped(name);
}

StateRecords::StateRecords(platform::RecordFile& file, const platform::FileSystem& files,
                           const std::vector<std::string>& packageNames, InMain inMain)
    : file_(file), inMain_(std::move(inMain)) {
  std::map<std::string, int, std::less<>> namesStoredAs;  // of each form, today or earlier
  for (const auto& name : packageNames) {
    if (forms_.count(name) != 0) continue;
    const auto today = storedName(files, name);
    if (!today) continue;
    Forms& forms = forms_[name];
    forms.today = *today;
    ++namesStoredAs[*today];
    // The default conversion: the form of every name before names were escaped, and the form
    // of names with "?" before those were.
    std::string earlier = files.defaultCodePageBytes(name);
    if (earlier != *today && earlier.size() <= kNameLength &&
        text::trimmedSpaces(earlier) == earlier) {
      ++namesStoredAs[earlier];
      forms.earlier = std::move(earlier);
    }
  }
  for (auto& [name, forms] : forms_) {
    records_.try_emplace(forms.today);
    // Shared with another listed name: which one the record was for is not known.
    if (forms.earlier && namesStoredAs[*forms.earlier] > 1) forms.earlier.reset();
    if (forms.earlier) records_.try_emplace(*forms.earlier);
  }
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
  const auto recordOf = [&](const std::string& form) { return records_.find(form)->second; };
  if (const auto forms = forms_.find(packageName); forms != forms_.end()) {
    if (auto record = recordOf(forms->second.today)) return record;
    if (forms->second.earlier)
      if (auto record = recordOf(*forms->second.earlier)) {
        if ((*record)[kNameLength] == '1' && !(inMain_ && inMain_(packageName))) return {};
        return record;
      }
  }
  if (full_) raise(err::kOverflow);
  return std::nullopt;
}

std::string pendingApplyPath(const std::string& stateFilePath) {
  return stateFilePath + ".pending";
}

int markOf(const std::string& record) {
  // Digits are the same bytes in every code page; a byte from 0x80 on is no digit in any.
  const std::string mark = record.substr(kNameLength, 1);
  if (!mark.empty() && static_cast<unsigned char>(mark[0]) >= 0x80) raise(err::kTypeMismatch);
  return DynamicValue(mark).toLong();
}

std::string buildRecord(const platform::FileSystem& files, const std::string& name, int mark) {
  const std::optional<std::string> bytes = storedName(files, text::trimSpaces(name));
  if (!bytes) raise(err::kInvalidProcedureCall);  // more than 50 characters
  return *bytes + std::string(kNameLength - bytes->size(), ' ') + std::to_string(mark);
}

}  // namespace vcit::launcher
