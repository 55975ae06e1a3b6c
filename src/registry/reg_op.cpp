#include "registry/reg_op.h"

#include <algorithm>

#include "core/runtime_error.h"
#include "core/text.h"

namespace vcit {
namespace {

namespace reg = platform::reg;

constexpr const char* kNoKeyName = "No Key name specified!";
constexpr const char* kCannotOpen = "Could not open Registry Key!";
constexpr const char* kUnsupportedType =
    "Existing value has unsupported data type and will not be overwritten";
constexpr const char* kUnsupportedFormat = "(unsupported data format)";
constexpr const char* kErrorTitle = "Registry Error";
constexpr std::uint32_t kVersionPlatformNt = 2;
constexpr std::uint32_t kExpandBufferSize = 1024;
// Environment entries looked at for a %NAME% reference.
constexpr int kEnvironmentEntriesSearched = 100;

std::int32_t littleEndianLong(const std::string& data) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4 && i < data.size(); ++i)
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
  return static_cast<std::int32_t>(v);
}

std::string littleEndianBytes(std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  std::string out(4, '\0');
  for (std::size_t i = 0; i < 4; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

TextArray splitAtNull(const std::string& s) {
  TextArray items;
  if (s.empty()) return items;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = s.find('\0', start);
    items.push_back(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return items;
}

// The data of a REG_MULTI_SZ value: the items with a NUL between each two, then two NULs.
std::string multiStringData(const DynamicValue& v) {
  std::string data;
  bool first = true;
  auto add = [&](const std::string& item) {
    if (!first) data += '\0';
    data += item;
    first = false;
  };
  if (v.kind() == DynamicValue::Kind::kTextArray) {
    for (const auto& item : v.textArray()) add(item);
  } else {
    // An array of values: written when it is one-dimensional and each element has a text form.
    const ValueArray& a = v.array();
    if (a.columns != 0) raise(err::kTypeMismatch);
    for (const auto& item : a.items) add(item.toText());
  }
  data += std::string(2, '\0');
  return data;
}

}  // namespace

RegOp::RegOp(platform::Registry& registry, platform::System& system,
             platform::MessageBoxes& messages)
    : registry_(registry),
      system_(system),
      messages_(messages),
      KeyHandle(registry),
      cache_([&system](const std::string& name) { return system.foldCase(name); }) {
  CurrentRoot = reg::kCurrentUser;
  IsNT = IsWindowsNT();
  if (IsNT) RequestedAccess = reg::kKeyRead;
  // The value cache is a member of this object and cannot fail to exist, so the program never
  // has to end for want of it.
}

RegOp::~RegOp() {
  CloseKey();
}

bool RegOp::IsWindowsNT() {
  return system_.platformId() == kVersionPlatformNt;
}

void RegOp::Root(std::uint32_t lProp) {
  const std::uint32_t root =
      (lProp == reg::kClassesRoot || lProp == reg::kCurrentUser || lProp == reg::kLocalMachine)
          ? lProp
          : reg::kCurrentUser;
  if (root == CurrentRoot) return;
  CurrentRoot = root;
  if (!CurrentKey.empty()) OpenKey(CurrentRoot, CurrentKey);
}

void RegOp::Key(const std::string& strProp) {
  if (strProp.empty()) return;
  if (CurrentKey.empty()) {
    CurrentKey = strProp;
    return;
  }
  if (system_.compareIgnoringCase(strProp, CurrentKey) == 0) return;
  CurrentKey = strProp;
  OpenKey(CurrentRoot, CurrentKey);
}

void RegOp::Options(std::int32_t lProp) {
  if (lProp >= 0 && lProp <= 15) OptionFlags = lProp;
}

bool RegOp::EnsureOpen() {
  if (CurrentKey.empty()) {
    ReportError(kNoKeyName);
    return false;
  }
  if (OpenAccess != 0 && RequestedAccess != OpenAccess) CloseKey();
  if (!KeyHandle) {
    OpenKey(CurrentRoot, CurrentKey);
    if (!KeyHandle) {
      ReportError(kCannotOpen);
      return false;
    }
  }
  return true;
}

void RegOp::OpenKey(std::uint32_t root, const std::string& path) {
  CloseKey();
  // The cached values belong to the key just closed: also when this open fails (another path
  // or root that cannot be opened), a read must not give them as this key's values.
  cache_.RemoveAll();
  if (root == 0) {
    root = reg::kCurrentUser;
    CurrentRoot = root;
  }
  // Whether the key opened is told by the handle alone.
  registry_.createKey(root, path, "1", 0, RequestedAccess, KeyHandle.receive());
  if (!KeyHandle) return;
  platform::Registry::KeyInfo info;
  registry_.queryInfoKey(KeyHandle.get(), info);
  SubKeyTotal = info.subKeys;
  MaxSubKeyNameLength = info.maxSubKeyNameLength;
  ValueTotal = info.values;
  MaxValueNameLength = info.maxValueNameLength;
  MaxValueDataLength = info.maxValueDataLength;
  OpenAccess = RequestedAccess;
}

void RegOp::CloseKey() {
  KeyHandle.close();
}

void RegOp::RefreshKeyInfo(bool values, bool subKeys) {
  platform::Registry::KeyInfo info;
  if (registry_.queryInfoKey(KeyHandle.get(), info) != reg::kSuccess) return;
  if (values) {
    ValueTotal = info.values;
    MaxValueNameLength = info.maxValueNameLength;
    MaxValueDataLength = info.maxValueDataLength;
  }
  if (subKeys) {
    SubKeyTotal = info.subKeys;
    MaxSubKeyNameLength = info.maxSubKeyNameLength;
  }
}

DynamicValue RegOp::ConvertData(std::uint32_t type, const std::string& buffer) {
  switch (type) {
    case reg::kTypeSz:
      return TrimAtNull(buffer);
    case reg::kTypeExpandSz: {
      std::string text = TrimAtNull(buffer);
      if (OptionFlags & ExpandOnRead) text = ExpandEnvironment(text);
      return text;
    }
    case reg::kTypeMultiSz: {
      std::string items = TrimAtDoubleNull(buffer);
      if (OptionFlags & MultiStringAsArray) return splitAtNull(items);
      return items;
    }
    default:
      return kUnsupportedFormat;
  }
}

void RegOp::LoadValues() {
  if (CurrentKey.empty()) {
    ReportError(kNoKeyName);
    return;
  }
  if (IsNT) RequestedAccess = reg::kKeyRead;
  if (!EnsureOpen() || ValueTotal == 0) return;
  cache_.RemoveAll();
  for (std::uint32_t index = 0; index < ValueTotal; ++index) {
    const std::uint32_t nameCapacity = MaxValueNameLength + 1;
    const std::uint32_t dataCapacity = MaxValueDataLength + 1;
    const auto found = registry_.enumValue(KeyHandle.get(), index, nameCapacity, dataCapacity);
    if (found.status != reg::kSuccess) continue;
    const std::string name = TrimAtNull(found.name);
    if (found.type == reg::kTypeDword) {
      // Read once more into a 4-byte integer.
      const auto number = registry_.enumValue(
          KeyHandle.get(), index, static_cast<std::uint32_t>(text::length(name) + 1), 4);
      if (number.status != reg::kSuccess) continue;
      cache_.SetItem(name, littleEndianLong(number.data));
      continue;
    }
    // The buffer holds the data followed by NULs up to its size (at least one NUL, since it
    // is one unit longer than the largest value the key reported). Its size counts bytes of
    // the code page, one per character of text.
    const std::size_t used =
        reg::isTextType(found.type) ? text::length(found.data) : found.data.size();
    std::string buffer = found.data;
    buffer.append(used < dataCapacity ? dataCapacity - used : 1, '\0');
    cache_.SetItem(name, ConvertData(found.type, buffer));
  }
}

std::string RegOp::TrimAtNull(const std::string& s) {
  return s.substr(0, s.find('\0'));
}

std::string RegOp::TrimAtDoubleNull(const std::string& s) {
  if (s.empty()) return {};
  const std::size_t pair = s.find(std::string(2, '\0'));
  if (pair == std::string::npos) raise(err::kInvalidProcedureCall);
  return s.substr(0, pair);
}

std::string RegOp::ExpandEnvironment(const std::string& s) {
  // Ask again with the size the system reports until the expansion fits, so a long
  // expansion is given whole (the environment may grow between two calls, hence the loop).
  std::uint32_t capacity = kExpandBufferSize;
  for (int attempt = 0; attempt < 4; ++attempt) {
    const auto expanded = system_.expandEnvironmentStrings(s, capacity);
    if (expanded.count == 0) return {};
    if (expanded.count <= capacity) return expanded.text;
    capacity = expanded.count;
  }
  return {};
}

void RegOp::ReportError(const std::string& message) {
  if (OptionFlags & ShowErrors)
    messages_.show(message, kErrorTitle, platform::mb::kOk | platform::mb::kIconExclamation);
}

DynamicValue RegOp::Value(const std::string& ValueName) {
  if (cache_.Count() == 0) LoadValues();
  const DynamicValue* value = cache_.Find(ValueName);
  return value ? *value : DynamicValue{};
}

void RegOp::Value(const std::string& ValueName, const DynamicValue& vValue) {
  if (vValue.isEmpty()) return;
  PendingValue = vValue;
  if (IsNT) RequestedAccess = reg::kKeyReadWrite;
  if (!EnsureOpen()) return;

  const auto existing = registry_.queryValue(KeyHandle.get(), ValueName, false, 0);
  if (existing.status == reg::kSuccess) {
    switch (existing.type) {
      case reg::kTypeSz:
      case reg::kTypeExpandSz:
        PendingValue = PendingValue.toText();
        break;
      case reg::kTypeDword:
        PendingValue = PendingValue.toLong();
        break;
      case reg::kTypeMultiSz:
        break;
      default:
        ReportError(kUnsupportedType);
        return;
    }
  }
  if ((OptionFlags & StoreNumbersAsText) && PendingValue.isNumeric())
    PendingValue = PendingValue.toText();
  if (ValueName.empty()) PendingValue = PendingValue.toText();

  std::uint32_t type = reg::kTypeSz;
  std::string data;
  switch (PendingValue.kind()) {
    case DynamicValue::Kind::kTextArray:
    case DynamicValue::Kind::kArray:
      type = reg::kTypeMultiSz;
      data = multiStringData(PendingValue);
      break;
    case DynamicValue::Kind::kInteger:
    case DynamicValue::Kind::kLong:
      type = reg::kTypeDword;
      data = littleEndianBytes(PendingValue.toLong());
      break;
    case DynamicValue::Kind::kText:
      type = HasEnvironmentReference(PendingValue.text()) ? reg::kTypeExpandSz : reg::kTypeSz;
      data = PendingValue.text() + '\0';
      break;
    default:
      // Null raises error 94 and an object error 13 here; everything else is its text form.
      data = PendingValue.toText() + '\0';
      break;
  }
  registry_.setValue(KeyHandle.get(), ValueName, type, data);
  RefreshKeyInfo(true, false);
  cache_.RemoveAll();
}

bool RegOp::HasEnvironmentReference(const std::string& s) {
  const std::size_t first = s.find('%');
  if (first == std::string::npos || first == s.rfind('%')) return false;
  const std::string folded = text::foldCase(s);
  for (int n = 1; n <= kEnvironmentEntriesSearched; ++n) {
    const std::string entry = system_.environmentEntry(n);
    if (entry.empty()) return false;
    const std::string name = entry.substr(0, entry.find('='));
    if (name.empty()) continue;  // not a variable (e.g. "=C:=C:\")
    if (folded.find("%" + text::foldCase(name) + "%") != std::string::npos) return true;
  }
  return false;
}

DynamicValue RegOp::AllValues() {
  if (IsNT) RequestedAccess = reg::kKeyRead;
  if (!EnsureOpen() || ValueTotal == 0) return {};
  if (cache_.Count() == 0) LoadValues();
  const std::size_t n = cache_.Count();
  if (n == 0) return {};
  ValueArray rows;
  rows.rows = n;
  rows.columns = 2;
  rows.items.reserve(2 * n);
  for (std::size_t i = 0; i < n; ++i) {
    rows.items.emplace_back(cache_.Keys()[i]);
    rows.items.push_back(cache_.Items()[i]);
  }
  return rows;
}

DynamicValue RegOp::AllKeys() {
  if (IsNT) RequestedAccess = reg::kKeyRead;
  if (!EnsureOpen() || SubKeyTotal == 0) return {};
  ValueArray names;
  names.rows = SubKeyTotal;
  names.columns = 0;
  names.items.resize(SubKeyTotal);
  for (std::uint32_t index = 0; index < SubKeyTotal; ++index) {
    std::string name;
    if (registry_.enumKey(KeyHandle.get(), index, MaxSubKeyNameLength + 1, name) == reg::kSuccess)
      names.items[index] = TrimAtNull(name);
  }
  return names;
}

std::int32_t RegOp::ValueCount() {
  return EnsureOpen() ? static_cast<std::int32_t>(ValueTotal) : 0;
}

std::int32_t RegOp::KeyCount() {
  return EnsureOpen() ? static_cast<std::int32_t>(SubKeyTotal) : 0;
}

bool RegOp::DeleteValue(const std::string& ValueName) {
  if (IsNT) RequestedAccess = reg::kKeyAllAccess;
  if (!EnsureOpen()) return false;
  if (registry_.deleteValue(KeyHandle.get(), ValueName) != reg::kSuccess) return false;
  RefreshKeyInfo(true, false);
  cache_.RemoveAll();
  return true;
}

bool RegOp::DeleteKey() {
  if (CurrentKey.empty()) {
    ReportError(kNoKeyName);
    return false;
  }
  const std::size_t slash = CurrentKey.rfind('\\');
  // A key directly below the root (also one written with a leading backslash) and a path
  // ending in a backslash are not deleted.
  if (slash == std::string::npos || slash == 0 || slash + 1 == CurrentKey.size()) return false;
  const std::string leaf = CurrentKey.substr(slash + 1);
  CurrentKey = CurrentKey.substr(0, slash);
  if (IsNT) RequestedAccess = reg::kKeyAllAccess;
  OpenKey(CurrentRoot, CurrentKey);
  if (!KeyHandle) return false;
  const long status = ShellDeleteAvailable() ? registry_.shellDeleteKey(KeyHandle.get(), leaf)
                                             : registry_.deleteKey(KeyHandle.get(), leaf);
  if (status != reg::kSuccess) return false;
  RefreshKeyInfo(false, true);
  cache_.RemoveAll();
  return true;
}

bool RegOp::ShellDeleteAvailable() {
  return system_.libraryLoads("Shlwapi");
}

}  // namespace vcit
