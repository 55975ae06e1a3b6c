#include "launcher/state_file.h"

#include <limits>

#include "core/dynamic_value.h"
#include "core/runtime_error.h"
#include "core/text.h"

namespace vcit::launcher {

std::optional<std::string> findRecord(platform::RecordFile& file, const std::string& packageName) {
  for (std::int32_t number = 1;; ++number) {
    if (number > std::numeric_limits<std::int16_t>::max()) raise(err::kOverflow);
    std::optional<std::string> record = file.read(number);
    if (!record) return std::nullopt;
    if (text::trimSpaces(text::substr(*record, 0, kNameLength)) == packageName) return record;
  }
}

int markOf(const std::string& record) {
  return DynamicValue(text::substr(record, kNameLength, 1)).toLong();
}

std::string buildRecord(const std::string& name, int mark) {
  const std::string trimmed = text::trimSpaces(name);
  const std::size_t length = text::length(trimmed);
  if (length > kNameLength) raise(err::kInvalidProcedureCall);
  return trimmed + std::string(kNameLength - length, ' ') + std::to_string(mark);
}

}  // namespace vcit::launcher
