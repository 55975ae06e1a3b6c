#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "core/dynamic_value.h"
#include "core/runtime_error.h"
#include "fuzz/fuzz_input.h"

// The RegOp target's pieces: registry value names, types and data made from the input, values
// of every kind to write, and the check of which errors may reach the caller.
namespace vcit::fuzz {

inline constexpr const char* kValuesKey = "Software\\Fuzz\\Values";
inline constexpr const char* kUnsupported = "(unsupported data format)";

// A value as stored in the registry.
struct Stored {
  std::string name;
  std::uint32_t type;
  std::string data;
};

// A value name: up to 11 characters, no NUL, the odd Latin-1 letter.
std::string valueName(Bytes& in);
// A registry type: mostly REG_NONE to REG_RESOURCE_LIST, now and then one above.
std::uint32_t valueType(std::uint8_t b);
// Data for a value of this type: text types in UTF-8, with NULs at the end or not.
std::string valueData(Bytes& in, std::uint32_t type);
std::string upToNull(const std::string& s);
// A value of any kind a caller may write.
DynamicValue someValue(Bytes& in);
// Throws a Failure unless the error is one of these numbers.
void allowOnly(const RuntimeError& e, std::initializer_list<int> numbers, const char* where);

}  // namespace vcit::fuzz
