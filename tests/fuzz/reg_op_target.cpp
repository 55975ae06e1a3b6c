#include <algorithm>
#include <vector>

#include "core/text.h"
#include "fuzz/fuzz_targets.h"
#include "fuzz/reg_op_values.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_system.h"
#include "registry/reg_op.h"

namespace vcit::fuzz {

namespace reg = platform::reg;

void regOpInput(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  platform::FakeRegistry registry;
  platform::FakeSystem system;
  platform::CallLog log;
  platform::FakeMessageBoxes messages(log);

  // The stored values (the last write of a name wins, under the name first written).
  std::vector<Stored> stored;
  {
    reg::Key key = 0;
    registry.createKey(reg::kCurrentUser, kValuesKey, "", 0, reg::kKeyAllAccess, key);
    const int count = in.next() % 12;
    for (int i = 0; i < count; ++i) {
      const std::string name = valueName(in);
      const std::uint32_t type = valueType(in.next());
      const std::string bytes = valueData(in, type);
      check(registry.setValue(key, name, type, bytes) == reg::kSuccess, "the fake refused a value");
      auto it = std::find_if(stored.begin(), stored.end(),
                             [&](const Stored& s) { return text::equalsIgnoreCase(s.name, name); });
      if (it == stored.end())
        stored.push_back({name, type, bytes});
      else
        *it = {it->name, type, bytes};
    }
    registry.closeKey(key);
  }
  std::int32_t options = static_cast<std::int8_t>(in.next());
  if (options >= 0) options &= 7;  // ShowErrors only tested elsewhere; -ve values are ignored
  const std::int32_t effective = options >= 0 ? options : 0;

  RegOp op(registry, system, messages);
  op.Options(options);
  op.Root(reg::kCurrentUser);
  op.Key(kValuesKey);

  // Reads: each stored value, by its name in other letter case too.
  bool loadFailed = false;
  std::uint32_t maxData = 0;
  for (const auto& s : stored)
    maxData = std::max<std::uint32_t>(
        maxData,
        static_cast<std::uint32_t>(reg::isTextType(s.type) ? text::length(s.data) : s.data.size()));
  // The data of a multi-string in the class's buffer: one byte longer than the largest value
  // in the code page, NUL-filled after the data. Error 5 is right only for one without a pair
  // of NULs there.
  auto multiStringBuffer = [&](const std::string& bytes) {
    std::string buffer = bytes;
    buffer.resize(bytes.size() + (maxData + 1 - text::length(bytes)), '\0');
    return buffer;
  };
  const bool someMultiStringLacksPair =
      std::any_of(stored.begin(), stored.end(), [&](const Stored& s) {
        return s.type == reg::kTypeMultiSz &&
               multiStringBuffer(s.data).find(std::string(2, '\0')) == std::string::npos;
      });
  for (const auto& s : stored) {
    DynamicValue v;
    try {
      v = op.Value((in.next() & 1) ? text::foldCase(s.name) : s.name);
    } catch (const RuntimeError& e) {
      allowOnly(e, {err::kInvalidProcedureCall}, "reading a value");
      check(someMultiStringLacksPair, "error 5 though every multi-string has its NULs");
      loadFailed = true;
      continue;
    }
    if (loadFailed && v.isEmpty()) continue;  // the load stopped at a multi-string before it
    switch (s.type) {
      case reg::kTypeSz:
        check(v == DynamicValue(upToNull(s.data)), "REG_SZ read wrong: " + s.name);
        break;
      case reg::kTypeExpandSz:
        if (!(effective & RegOp::ExpandOnRead))
          check(v == DynamicValue(upToNull(s.data)), "REG_EXPAND_SZ read wrong: " + s.name);
        else
          check(v.kind() == DynamicValue::Kind::kText, "REG_EXPAND_SZ read as no text");
        break;
      case reg::kTypeDword:
        if (s.data.size() > 4) {
          check(v.isEmpty(), "a REG_DWORD of more than 4 bytes was read");
        } else {
          std::uint32_t n = 0;
          for (std::size_t k = 0; k < s.data.size(); ++k)
            n |= static_cast<std::uint32_t>(static_cast<unsigned char>(s.data[k])) << (8 * k);
          check(v == DynamicValue(static_cast<std::int32_t>(n)), "REG_DWORD read wrong: " + s.name);
        }
        break;
      case reg::kTypeMultiSz: {
        const std::string buffer = multiStringBuffer(s.data);
        const auto pair = buffer.find(std::string(2, '\0'));
        check(pair != std::string::npos, "a multi-string without a NUL pair was read");
        const std::string items = buffer.substr(0, pair);
        if (effective & RegOp::MultiStringAsArray) {
          check(v.kind() == DynamicValue::Kind::kTextArray, "REG_MULTI_SZ not read as an array");
          std::string joined;
          for (std::size_t k = 0; k < v.textArray().size(); ++k)
            joined += (k ? std::string(1, '\0') : "") + v.textArray()[k];
          check(joined == items, "REG_MULTI_SZ array read wrong: " + s.name);
        } else {
          check(v == DynamicValue(items), "REG_MULTI_SZ read wrong: " + s.name);
        }
        break;
      }
      default:
        check(v == DynamicValue(kUnsupported), "an unsupported type read as something else");
    }
  }

  // Listing and counting.
  try {
    const DynamicValue all = op.AllValues();
    if (!all.isEmpty()) {
      check(all.kind() == DynamicValue::Kind::kArray && all.array().columns == 2,
            "AllValues is no two-column array");
      check(all.array().rows <= stored.size(), "AllValues lists more values than stored");
    }
  } catch (const RuntimeError& e) {
    allowOnly(e, {err::kInvalidProcedureCall}, "AllValues");
  }
  check(op.ValueCount() == static_cast<std::int32_t>(stored.size()), "ValueCount is wrong");

  // Writes of values of every kind over values of every type, each read back.
  while (!in.empty()) {
    const bool existing = !stored.empty() && (in.next() & 1);
    const std::string name =
        existing ? stored[in.next() % stored.size()].name : upToNull(valueName(in));
    const bool isNew = std::none_of(stored.begin(), stored.end(), [&](const Stored& s) {
      return text::equalsIgnoreCase(s.name, name);
    });
    const DynamicValue v = someValue(in);
    try {
      op.Value(name, v);
    } catch (const RuntimeError& e) {
      allowOnly(e, {err::kOverflow, err::kTypeMismatch, err::kInvalidUseOfNull}, "writing a value");
      continue;
    }
    try {
      const DynamicValue back = op.Value(name);
      if (isNew && v.kind() == DynamicValue::Kind::kText && !name.empty() &&
          !(effective & RegOp::ExpandOnRead))
        check(back == v, "a text written to a new value reads back otherwise");
      if (isNew && (v.kind() == DynamicValue::Kind::kLong) && !name.empty() &&
          !(effective & RegOp::StoreNumbersAsText))
        check(back == v, "a number written to a new value reads back otherwise");
      if (!back.isArray() && !back.isNull()) (void)back.toText();
    } catch (const RuntimeError& e) {
      allowOnly(e, {err::kInvalidProcedureCall}, "reading back a value");
    }
    if (isNew && !v.isEmpty()) stored.push_back({name, reg::kTypeSz, ""});
  }
  check(messages.shown().empty(), "the registry class showed a message without ShowErrors");
}

}  // namespace vcit::fuzz
