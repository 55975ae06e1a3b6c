#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace vcit {

class DynamicValue;

struct EmptyValue {
  bool operator==(const EmptyValue&) const = default;
};
struct NullValue {
  bool operator==(const NullValue&) const = default;
};
// A fixed-point amount with four decimals, stored as the amount times 10,000.
struct Currency {
  std::int64_t scaled = 0;
  bool operator==(const Currency&) const = default;
};
// A date as days since 1899-12-30, the fraction being the time of day.
struct Date {
  double serial = 0;
  bool operator==(const Date&) const = default;
};
// An opaque object reference; only its identity matters.
struct ObjectRef {
  std::shared_ptr<void> ptr;
  bool operator==(const ObjectRef& o) const { return ptr == o.ptr; }
};
// A one- or two-dimensional array of DynamicValues with first index 0 in each dimension.
// Elements are stored row by row: element (r, c) is items[r * columns + c].
struct ValueArray {
  std::size_t rows = 0;
  std::size_t columns = 0;  // 0 for a one-dimensional array
  std::vector<DynamicValue> items;
  bool operator==(const ValueArray&) const;
};
using TextArray = std::vector<std::string>;

// A tagged value of one of the kinds that the registry class gives and takes.
class DynamicValue {
 public:
  enum class Kind {
    kEmpty,
    kNull,
    kInteger,
    kLong,
    kDouble,
    kCurrency,
    kDate,
    kBoolean,
    kByte,
    kText,
    kObject,
    kArray,
    kTextArray
  };

  DynamicValue() = default;
  DynamicValue(EmptyValue) {}
  DynamicValue(NullValue v) : v_(v) {}
  DynamicValue(std::int16_t v) : v_(v) {}
  DynamicValue(std::int32_t v) : v_(v) {}
  DynamicValue(double v) : v_(v) {}
  DynamicValue(Currency v) : v_(v) {}
  DynamicValue(Date v) : v_(v) {}
  DynamicValue(bool v) : v_(v) {}
  DynamicValue(std::uint8_t v) : v_(v) {}
  DynamicValue(std::string v) : v_(std::move(v)) {}
  DynamicValue(const char* v) : v_(std::string(v)) {}
  DynamicValue(ObjectRef v) : v_(std::move(v)) {}
  DynamicValue(ValueArray v) : v_(std::move(v)) {}
  DynamicValue(TextArray v) : v_(std::move(v)) {}

  static DynamicValue null() { return DynamicValue(NullValue{}); }

  Kind kind() const { return static_cast<Kind>(v_.index()); }
  bool isEmpty() const { return kind() == Kind::kEmpty; }
  bool isNull() const { return kind() == Kind::kNull; }
  bool isArray() const { return kind() == Kind::kArray || kind() == Kind::kTextArray; }
  bool isTextKind() const { return kind() == Kind::kText; }
  // A number of any kind (Boolean included, as the runtime counts it), or text that reads as
  // a number.
  bool isNumeric() const;
  bool isNumberKind() const;

  // The text form: integers as decimal digits, Boolean as True/False, empty as empty text.
  // Null raises error 94; arrays and objects raise error 13.
  std::string toText() const;
  // Conversion to a 32-bit integer: text that reads as a number is converted, fractions are
  // rounded to the nearest integer (a half to the even one). Out of range raises error 6;
  // arrays, objects and text that is not a number raise error 13; null raises error 94.
  std::int32_t toLong() const;
  // Conversion to a floating-point number with the same rules for errors.
  double toDouble() const;

  const std::string& text() const { return std::get<std::string>(v_); }
  std::int32_t asLong() const { return std::get<std::int32_t>(v_); }
  std::int16_t asInteger() const { return std::get<std::int16_t>(v_); }
  const ValueArray& array() const { return std::get<ValueArray>(v_); }
  const TextArray& textArray() const { return std::get<TextArray>(v_); }

  bool operator==(const DynamicValue& o) const { return v_ == o.v_; }

 private:
  std::variant<EmptyValue, NullValue, std::int16_t, std::int32_t, double, Currency, Date, bool,
               std::uint8_t, std::string, ObjectRef, ValueArray, TextArray>
      v_;
};

// Reads text as a number the way the runtime does: blanks around it, a sign, digits with an
// optional decimal point and exponent, or &H/&O followed by hexadecimal/octal digits. Gives
// false when the text is not a number.
bool parseNumber(const std::string& text, double& out);

// Shortest decimal text of a double with at most 15 significant digits ("1.5", "1E+20").
std::string formatDouble(double v);

}  // namespace vcit
