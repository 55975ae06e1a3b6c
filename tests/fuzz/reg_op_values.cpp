#include "fuzz/reg_op_values.h"

#include <algorithm>

#include "platform/registry_api.h"

namespace vcit::fuzz {

namespace reg = platform::reg;

std::string valueName(Bytes& in) {
  const int length = in.next() % 12;
  std::string name;
  for (int k = 0; k < length; ++k) {
    const std::uint8_t b = in.next();
    // Names are NUL-terminated in the "A" functions; a backslash is allowed in value names.
    if (b >= 0xC0)
      name += utf8(b);
    else
      name += static_cast<char>(b == 0 || b >= 0x80 ? 'A' + b % 26 : b);
  }
  return name;
}

std::uint32_t valueType(std::uint8_t b) {
  if (b < 0xF0) return b % 9;
  return b == 0xFF ? 0xFFFFFFFFu : b;  // types above REG_MULTI_SZ
}

std::string valueData(Bytes& in, std::uint32_t type) {
  const std::uint8_t shape = in.next();
  std::string data;
  const std::size_t length = shape % 24;
  for (std::size_t k = 0; k < length; ++k) {
    const std::uint8_t b = in.next();
    // Text types hold UTF-8 in the fake; keep bytes that convert, with NULs where they fall.
    if (reg::isTextType(type))
      data += b >= 0xC0 ? utf8(b) : std::string(1, static_cast<char>(b & 0x7F));
    else
      data += static_cast<char>(b);
  }
  if (shape & 0x40) data += '\0';
  if (shape & 0x80) data += '\0';
  return data;
}

std::string upToNull(const std::string& s) {
  return s.substr(0, s.find('\0'));
}

DynamicValue someValue(Bytes& in) {
  const std::uint8_t kind = in.next();
  const std::string textPart = upToNull(valueName(in));
  const std::int32_t number = static_cast<std::int32_t>(
      in.next() | in.next() << 8 | in.next() << 16 | static_cast<std::uint32_t>(in.next()) << 24);
  switch (kind % 14) {
    case 0:
      return {};
    case 1:
      return DynamicValue::null();
    case 2:
      return static_cast<std::int16_t>(number);
    case 3:
      return number;
    case 4:
      return static_cast<double>(number) / 8.0;
    case 5:
      return (number & 1) != 0;
    case 6:
      return static_cast<std::uint8_t>(number);
    case 7:
      return Currency{static_cast<std::int64_t>(number) * 37};
    case 8:
      return Date{static_cast<double>(number % 100000) / 3.0};
    case 9:
      return TextArray{textPart, std::to_string(number), ""};
    case 10: {
      ValueArray a;
      a.rows = 2;
      a.columns = (kind & 0x10) ? 2 : 0;
      a.items = {DynamicValue(textPart), DynamicValue(number)};
      if (a.columns) a.items.resize(4, DynamicValue(std::int16_t{1}));
      if (kind & 0x20) a.items[1] = DynamicValue::null();
      return a;
    }
    case 11:
      return ObjectRef{};
    case 12:
      return std::to_string(number);
    default:
      return textPart;
  }
}

void allowOnly(const RuntimeError& e, std::initializer_list<int> numbers, const char* where) {
  check(std::find(numbers.begin(), numbers.end(), e.number()) != numbers.end(),
        std::string(where) + " raised error " + std::to_string(e.number()));
}

}  // namespace vcit::fuzz
