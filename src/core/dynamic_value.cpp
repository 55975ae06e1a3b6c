#include "core/dynamic_value.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "core/runtime_error.h"

namespace vcit {

bool ValueArray::operator==(const ValueArray& o) const {
  return rows == o.rows && columns == o.columns && items == o.items;
}

bool parseNumber(const std::string& text, double& out) {
  std::size_t i = text.find_first_not_of(" \t");
  const std::size_t end = text.find_last_not_of(" \t");
  if (i == std::string::npos) return false;
  const std::string s = text.substr(i, end - i + 1);
  if (s.size() > 2 && s[0] == '&' && (s[1] == 'h' || s[1] == 'H' || s[1] == 'o' || s[1] == 'O')) {
    const int base = (s[1] == 'h' || s[1] == 'H') ? 16 : 8;
    std::uint64_t v = 0;
    for (std::size_t k = 2; k < s.size(); ++k) {
      const char c = s[k];
      int d;
      if (c >= '0' && c <= '9')
        d = c - '0';
      else if (base == 16 && c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
      else if (base == 16 && c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
      else
        return false;
      if (d >= base) return false;
      v = v * base + d;
      if (v > 0xFFFFFFFFull) return false;
    }
    // Hexadecimal and octal literals denote 32-bit patterns (or 16-bit ones when short).
    const bool shortForm = (base == 16 && s.size() - 2 <= 4) || (base == 8 && v <= 0xFFFF);
    if (shortForm)
      out = static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
    else
      out = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    return true;
  }
  std::size_t k = 0;
  if (s[k] == '+' || s[k] == '-') ++k;
  bool digits = false;
  while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) {
    ++k;
    digits = true;
  }
  if (k < s.size() && s[k] == '.') {
    ++k;
    while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) {
      ++k;
      digits = true;
    }
  }
  if (!digits) return false;
  if (k < s.size() && (s[k] == 'e' || s[k] == 'E')) {
    std::size_t e = k + 1;
    if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
    const std::size_t expStart = e;
    while (e < s.size() && std::isdigit(static_cast<unsigned char>(s[e]))) ++e;
    if (e == expStart) return false;
    k = e;
  }
  if (k != s.size()) return false;
  errno = 0;
  const double v = std::strtod(s.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(v)) return false;
  out = v;
  return true;
}

std::string formatDouble(double v) {
  if (v == 0) return "0";
  char buf[64];
  for (int precision = 1; precision <= 15; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, v);
    if (std::strtod(buf, nullptr) == v) break;
  }
  std::string s = buf;
  // C writes "1e+20"; the runtime's form is "1E+20".
  const auto e = s.find('e');
  if (e != std::string::npos) {
    std::string mantissa = s.substr(0, e);
    std::string exponent = s.substr(e + 1);
    const char sign = exponent[0];
    exponent = exponent.substr(1);
    while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
    s = mantissa + "E" + sign + exponent;
  }
  return s;
}

namespace {

std::string formatCurrency(std::int64_t scaled) {
  const bool negative = scaled < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  std::string s = std::to_string(magnitude / 10000);
  std::uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04llu", static_cast<unsigned long long>(fraction));
    std::string f = buf;
    while (!f.empty() && f.back() == '0') f.pop_back();
    s += "." + f;
  }
  return negative ? "-" + s : s;
}

// Civil date from a day count since 1970-01-01 (Howard Hinnant's algorithm).
void civilFromDays(std::int64_t z, int& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

std::string formatDate(double serial) {
  // Negative serials count days backwards but the time of day forwards.
  double days = std::floor(serial);
  double fraction = std::fabs(serial - std::trunc(serial));
  if (serial < 0) days = std::ceil(serial);
  int y;
  unsigned m, d;
  civilFromDays(static_cast<std::int64_t>(days) - 25569, y, m, d);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", y, m, d);
  std::string s = buf;
  const long seconds = std::lround(fraction * 86400.0);
  if (seconds != 0) {
    std::snprintf(buf, sizeof buf, " %02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    s += buf;
  }
  return s;
}

std::int32_t roundToLong(double v) {
  if (std::isnan(v)) raise(err::kOverflow);
  const double r = std::nearbyint(v);  // the default rounding mode rounds a half to even
  if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
    raise(err::kOverflow);
  return static_cast<std::int32_t>(r);
}

}  // namespace

bool DynamicValue::isNumberKind() const {
  switch (kind()) {
    case Kind::kInteger:
    case Kind::kLong:
    case Kind::kDouble:
    case Kind::kCurrency:
    case Kind::kBoolean:
    case Kind::kByte:
      return true;
    default:
      return false;
  }
}

bool DynamicValue::isNumeric() const {
  if (isNumberKind() || isEmpty()) return true;
  if (kind() == Kind::kText) {
    double unused;
    return parseNumber(text(), unused);
  }
  return false;
}

std::string DynamicValue::toText() const {
  switch (kind()) {
    case Kind::kEmpty:
      return {};
    case Kind::kNull:
      raise(err::kInvalidUseOfNull);
    case Kind::kInteger:
      return std::to_string(std::get<std::int16_t>(v_));
    case Kind::kLong:
      return std::to_string(std::get<std::int32_t>(v_));
    case Kind::kDouble:
      return formatDouble(std::get<double>(v_));
    case Kind::kCurrency:
      return formatCurrency(std::get<Currency>(v_).scaled);
    case Kind::kDate:
      return formatDate(std::get<Date>(v_).serial);
    case Kind::kBoolean:
      return std::get<bool>(v_) ? "True" : "False";
    case Kind::kByte:
      return std::to_string(std::get<std::uint8_t>(v_));
    case Kind::kText:
      return std::get<std::string>(v_);
    case Kind::kObject:
    case Kind::kArray:
    case Kind::kTextArray:
      raise(err::kTypeMismatch);
  }
  raise(err::kTypeMismatch);
}

double DynamicValue::toDouble() const {
  switch (kind()) {
    case Kind::kEmpty:
      return 0;
    case Kind::kNull:
      raise(err::kInvalidUseOfNull);
    case Kind::kInteger:
      return std::get<std::int16_t>(v_);
    case Kind::kLong:
      return std::get<std::int32_t>(v_);
    case Kind::kDouble:
      return std::get<double>(v_);
    case Kind::kCurrency:
      return static_cast<double>(std::get<Currency>(v_).scaled) / 10000.0;
    case Kind::kDate:
      return std::get<Date>(v_).serial;
    case Kind::kBoolean:
      return std::get<bool>(v_) ? -1 : 0;
    case Kind::kByte:
      return std::get<std::uint8_t>(v_);
    case Kind::kText: {
      double v;
      if (!parseNumber(text(), v)) raise(err::kTypeMismatch);
      return v;
    }
    case Kind::kObject:
    case Kind::kArray:
    case Kind::kTextArray:
      raise(err::kTypeMismatch);
  }
  raise(err::kTypeMismatch);
}

std::int32_t DynamicValue::toLong() const {
  switch (kind()) {
    case Kind::kInteger:
      return std::get<std::int16_t>(v_);
    case Kind::kLong:
      return std::get<std::int32_t>(v_);
    case Kind::kCurrency: {
      // Round the fixed-point amount half to even without passing through a double.
      const std::int64_t s = std::get<Currency>(v_).scaled;
      std::int64_t q = s / 10000, r = s % 10000;
      if (r > 5000 || (r == 5000 && q % 2 != 0)) ++q;
      if (r < -5000 || (r == -5000 && q % 2 != 0)) --q;
      if (q < std::numeric_limits<std::int32_t>::min() ||
          q > std::numeric_limits<std::int32_t>::max())
        raise(err::kOverflow);
      return static_cast<std::int32_t>(q);
    }
    default:
      return roundToLong(toDouble());
  }
}

}  // namespace vcit
