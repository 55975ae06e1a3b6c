#include "fuzz_targets.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "core/runtime_error.h"
#include "core/text.h"
#include "launcher/launcher.h"
#include "launcher/state_file.h"
#include "platform/fake/fake_platform.h"
#include "registry/reg_op.h"

namespace vcit::fuzz {
namespace {

namespace reg = platform::reg;

void check(bool condition, const std::string& what) {
  if (!condition) throw Failure{what};
}

// The input, consumed from the front; zeros once it is used up.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
  std::string take(std::size_t count) {
    count = std::min(count, size_ - std::min(at_, size_));
    std::string s(reinterpret_cast<const char*>(data_) + at_, count);
    at_ += count;
    return s;
  }
  std::string rest() { return take(size_); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

std::string utf8(std::uint32_t codePoint) {
  std::string s;
  if (codePoint < 0x80) {
    s += static_cast<char>(codePoint);
  } else {
    s += static_cast<char>(0xC0 | (codePoint >> 6));
    s += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
  return s;
}

// The error numbers of the failure reports shown ("<number>:<description>").
std::vector<int> reportedErrors(const platform::FakeMessageBoxes& messages, std::size_t from) {
  std::vector<int> numbers;
  const auto& shown = messages.shown();
  for (std::size_t i = from; i < shown.size(); ++i) {
    const std::string& t = shown[i].text;
    const auto colon = t.find(':');
    check(colon != std::string::npos && colon > 0 &&
              std::all_of(t.begin(), t.begin() + static_cast<long>(colon),
                          [](char c) { return c >= '0' && c <= '9'; }),
          "a message that is no failure report: " + t);
    numbers.push_back(std::stoi(t.substr(0, colon)));
  }
  return numbers;
}

// ---------------------------------------------------------------------------------------------
// State file

constexpr const char* kProgramDir = "C:\\VCIT";
constexpr const char* kModsDir = "C:\\VCIT\\Mods\\";
constexpr const char* kStateFile = "C:\\VCIT\\Active.dat";
constexpr const char* kGameDir = "C:\\Games\\VCIT";
constexpr const char* kMainDir = "C:\\Games\\VCIT\\main\\";

// A file name from the input: printable characters, the odd space and Latin-1 letter, and an
// extension that is usually ".pk3".
std::string packageName(Bytes& in) {
  const int length = in.next() % 56;
  std::string name;
  for (int k = 0; k < length; ++k) {
    const std::uint8_t b = in.next();
    if (b >= 0xC0) {
      name += utf8(b);
    } else if (b < 0x20 || b >= 0x7F || std::strchr("<>:\"/\\|?*", b) != nullptr) {
      name += static_cast<char>('a' + b % 26);
    } else {
      name += static_cast<char>(b);
    }
  }
  static const char* const kSuffixes[] = {".pk3", ".pk3", ".pk3",  ".pk3",
                                          ".pk3", ".PK3", ".pk3x", ""};
  return name + kSuffixes[in.next() % 8];
}

// A record made byte by byte: the name in the code page, cut or filled with spaces to 50
// bytes, then the mark.
std::string rawRecord(const platform::FileSystem& files, const std::string& name, char mark) {
  std::string r = files.recordBytes(name).substr(0, 50);
  r.resize(50, ' ');
  return r + mark;
}

std::string stateFileBytes(Bytes& in, const std::vector<std::string>& names,
                           const platform::FileSystem& files) {
  if (names.empty() || in.next() % 4 == 0) return in.rest();
  std::string bytes;
  while (!in.empty()) {
    const std::uint8_t op = in.next();
    const std::string& name = names[in.next() % names.size()];
    const std::uint8_t m = in.next();
    const char mark = (op & 0x10) ? static_cast<char>(m) : static_cast<char>('0' + m % 3);
    switch (op % 5) {
      case 0:
        bytes += rawRecord(files, name, mark);
        break;
      case 1:
        bytes += rawRecord(files, " " + name + " ", mark);
        break;
      case 2:
        bytes += rawRecord(files, text::foldCase(name), mark);
        break;
      case 3:
        bytes += in.take(in.next() % 64);
        break;
      default:
        bytes += rawRecord(files, name, mark).substr(0, m % 51);
        break;
    }
  }
  return bytes;
}

// What start-up should give, worked out from the listing and the file's bytes.
struct ExpectedStart {
  int rows = 0;
  std::vector<int> marks;
  int error = 0;
  std::string failedRowText;  // a row whose mark failed keeps the package name
};

ExpectedStart expectedStart(const std::vector<std::string>& listing, const std::string& file,
                            const platform::FileSystem& files) {
  ExpectedStart e;
  const std::size_t records = file.size() / 51;
  for (std::size_t i = 0; i < listing.size(); ++i) {
    if (i >= 16) {
      e.error = err::kControlArrayElementMissing;
      return e;
    }
    std::optional<std::string> found;
    for (std::size_t n = 0; n < records && !found; ++n) {
      const std::string record = file.substr(n * 51, 51);
      if (text::trimSpaces(record.substr(0, 50)) == files.recordBytes(listing[i])) found = record;
    }
    if (!found && records >= 32767) {
      e.error = err::kOverflow;
      return e;
    }
    int mark = 0;
    if (found) {
      const char digit = (*found)[50];
      if (digit < '0' || digit > '9') {
        e.error = err::kTypeMismatch;
        e.failedRowText = listing[i];
        return e;
      }
      mark = digit - '0';
      if (mark > 2) {
        e.error = err::kInvalidPropertyValue;
        e.failedRowText = listing[i];
        return e;
      }
    }
    e.marks.push_back(mark);
    ++e.rows;
  }
  return e;
}

void checkStart(frmLauncher& l, platform::FakePlatform& fake, std::size_t messagesBefore,
                const ExpectedStart& e) {
  const std::vector<int> errors = reportedErrors(fake.messages, messagesBefore);
  check(fake.files.openRecordFiles() == 0, "start-up left the state file open");
  check(l.Applied == !l.cmdApply.enabled(), "Applied and the Apply button disagree");
  if (e.error == 0) {
    check(errors.empty(), "start-up reported error " +
                              (errors.empty() ? std::string() : std::to_string(errors[0])));
    check(l.Applied, "a complete start-up leaves changes pending");
  } else {
    check(errors == std::vector<int>{e.error},
          "start-up should report error " + std::to_string(e.error));
    check(!l.Applied, "a failed start-up claims to be applied");
  }
  check(l.ModCount == e.rows,
        "start-up filled " + std::to_string(l.ModCount) + " rows, not " + std::to_string(e.rows));
  for (int i = 0; i < e.rows; ++i)
    check(l.chkActive(i).value() == e.marks[static_cast<std::size_t>(i)],
          "row " + std::to_string(i) + " has the wrong mark");
  for (int i = e.rows; i < frmLauncher::kRows; ++i)
    check(l.txtPk3(i).text() == (i == e.rows ? e.failedRowText : "") && l.chkActive(i).value() == 0,
          "an unfilled row is not empty");
}

}  // namespace

void stateFileInput(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  platform::FakePlatform fake;
  fake.system.directory = kProgramDir;
  fake.files.addFolder(kProgramDir);
  fake.files.addFolder(kModsDir);
  fake.files.addFolder(kMainDir);
  {
    reg::Key key = 0;
    fake.registry.createKey(reg::kCurrentUser, "Software\\Brackwater\\VCIT", "", 0,
                            reg::kKeyAllAccess, key);
    fake.registry.setValue(key, "basepath", reg::kTypeSz, std::string(kGameDir) + '\0');
    fake.registry.closeKey(key);
  }

  const std::uint8_t flags = in.next();
  const int packages = in.next() % 20;
  std::vector<std::string> names;
  for (int i = 0; i < packages; ++i) {
    names.push_back(packageName(in));
    fake.files.addFile(
        kModsDir + names.back(),
        "package " + std::to_string(i) + std::string(static_cast<std::size_t>(i) * 7, 'x'));
  }
  const std::uint8_t applyBytes[] = {in.next(), in.next(), in.next(), in.next()};
  const std::string file = stateFileBytes(in, names, fake.files);
  fake.files.addFile(kStateFile, file);

  // Start-up over the file as it is.
  const std::vector<std::string> listing = fake.files.listFiles(kModsDir, "*.pk3");
  const ExpectedStart expected = expectedStart(listing, file, fake.files);
  frmLauncher l(fake.platform);
  l.Form_Load();
  checkStart(l, fake, 0, expected);
  // Reading leaves the file as it was.
  check(fake.files.contents(kStateFile) == file, "start-up changed the state file");

  if (!(flags & 1)) return;

  // A mark change, the game folder's old contents and faults, then Apply.
  if (flags & 2) l.chkActive(applyBytes[0] % 16).userClick();
  std::map<std::string, std::string> before;  // folded path -> bytes, of the game folder
  std::set<int> allowed;
  for (int i = 0; i < l.ModCount; ++i) {
    const std::string name = text::trimSpaces(l.txtPk3(i).text());
    if (text::length(name) > 50 || fake.files.recordBytes(name).size() > 50)
      allowed.insert(err::kInvalidProcedureCall);
    if ((flags & 4) && (applyBytes[1] >> (i % 8) & 1)) {
      fake.files.addFile(kMainDir + name, "old " + name);
      if (flags & 8) {
        fake.files.find(kMainDir + name)->readOnly = true;
        allowed.insert(err::kPathFileAccessError);
      }
    }
  }
  if (flags & 16) {
    fake.files.failRecordWritesFrom = applyBytes[2] % 17 + 1;
    allowed.insert(err::kDiskFull);
  }
  if (flags & 32) {
    fake.files.failCopyAfterBytes = applyBytes[3] % 24;
    allowed.insert(err::kDiskFull);
  }
  if ((flags & 64) && l.ModCount > 0) {
    // Another program holds a package of the game folder open.
    const std::string name = text::trimSpaces(l.txtPk3(applyBytes[0] % l.ModCount).text());
    if (auto* f = fake.files.find(kMainDir + name)) {
      f->locked = true;
      allowed.insert(err::kPermissionDenied);
    }
  }
  for (const auto& path : fake.files.allFiles())
    if (text::foldCase(path).rfind(text::foldCase(kMainDir), 0) == 0)
      before[text::foldCase(path)] = fake.files.contents(path);
  std::map<std::string, std::string> sources;
  for (const auto& path : fake.files.allFiles())
    if (text::foldCase(path).rfind(text::foldCase(kModsDir), 0) == 0)
      sources[text::foldCase(path.substr(std::strlen(kModsDir)))] = fake.files.contents(path);

  const std::size_t shownBefore = fake.messages.shown().size();
  const bool appliedBefore = l.Applied;
  l.Apply();
  fake.files.failRecordWritesFrom.reset();
  fake.files.failCopyAfterBytes.reset();

  const std::vector<int> applyErrors = reportedErrors(fake.messages, shownBefore);
  for (int e : applyErrors)
    check(allowed.count(e) != 0, "Apply reported error " + std::to_string(e));
  const bool complete = applyErrors.empty();
  check(complete ? l.Applied : l.Applied == appliedBefore, "Applied is wrong after Apply");
  check(fake.files.openRecordFiles() == 0, "Apply left the state file open");
  check(l.Applied == !l.cmdApply.enabled(), "Applied and the Apply button disagree after Apply");
  const std::string written = fake.files.contents(kStateFile);
  if (l.ModCount == 0) {
    check(written == file, "Apply without rows changed the state file");
    return;
  }
  check(written.size() % 51 == 0, "the state file holds a part of a record");
  check(written.size() <= 51u * static_cast<unsigned>(l.ModCount),
        "the state file has extra records");
  if (complete)
    check(written.size() == 51u * static_cast<unsigned>(l.ModCount),
          "a complete Apply lost records");

  // The game folder holds whole packages only: each file is its source or what was there.
  std::map<std::string, std::optional<std::string>> finalState;  // expected after a full run
  for (int i = 0; i < l.ModCount; ++i) {
    const std::string name = text::trimSpaces(l.txtPk3(i).text());
    const std::string folded = text::foldCase(name);
    if (l.chkActive(i).value() == 1) {
      const auto src = sources.find(folded);
      finalState[folded] = src == sources.end()
                               ? before.count(text::foldCase(kMainDir + name))
                                     ? std::optional(before[text::foldCase(kMainDir + name)])
                                     : std::nullopt
                               : std::optional(src->second);
    } else {
      finalState[folded] = std::nullopt;
    }
  }
  for (const auto& path : fake.files.allFiles()) {
    const std::string folded = text::foldCase(path);
    if (folded.rfind(text::foldCase(kMainDir), 0) != 0) continue;
    const std::string bytes = fake.files.contents(path);
    const std::string leaf = folded.substr(std::strlen(kMainDir));
    const auto src = sources.find(leaf);
    const auto old = before.find(folded);
    check((src != sources.end() && src->second == bytes) ||
              (old != before.end() && old->second == bytes),
          "a package in the game folder is neither its source nor what was there: " + path);
    if (complete) {
      const auto want = finalState.find(leaf);
      if (want != finalState.end())
        check(want->second && *want->second == bytes, "Apply left the wrong file: " + path);
    }
  }
  if (complete)
    for (const auto& [leaf, want] : finalState)
      if (want)
        check(fake.files.fileExists(kMainDir + leaf), "a marked package was not copied: " + leaf);

  // What Apply wrote reads back: a new start-up restores each row's mark.
  std::vector<std::string> rowNames;
  std::vector<int> rowMarks;
  for (int i = 0; i < l.ModCount; ++i) {
    rowNames.push_back(l.txtPk3(i).text());
    rowMarks.push_back(l.chkActive(i).value());
  }
  for (auto& f : fake.files.allFiles())
    if (auto* file2 = fake.files.find(f)) file2->locked = false;
  const ExpectedStart again =
      expectedStart(fake.files.listFiles(kModsDir, "*.pk3"), written, fake.files);
  frmLauncher second(fake.platform);
  const std::size_t shownBeforeSecond = fake.messages.shown().size();
  second.Form_Load();
  checkStart(second, fake, shownBeforeSecond, again);
  check(again.error == 0 || again.error == err::kControlArrayElementMissing,
        "what Apply wrote cannot be read back");
  if (!complete) return;
  std::set<std::string> seen;
  for (std::size_t i = 0; i < rowNames.size() && static_cast<int>(i) < second.ModCount; ++i) {
    const std::string trimmed = text::trimSpaces(rowNames[i]);
    const bool first = seen.insert(trimmed).second;
    if (first && trimmed == rowNames[i] &&
        second.txtPk3(static_cast<long>(i)).text() == rowNames[i])
      check(second.chkActive(static_cast<long>(i)).value() == rowMarks[i],
            "the mark of " + rowNames[i] + " did not survive Apply and a restart");
  }
}

// ---------------------------------------------------------------------------------------------
// Registry values

namespace {

constexpr const char* kKey = "Software\\Fuzz\\Values";
constexpr const char* kUnsupported = "(unsupported data format)";

struct Stored {
  std::string name;
  std::uint32_t type;
  std::string data;
};

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

}  // namespace

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
    registry.createKey(reg::kCurrentUser, kKey, "", 0, reg::kKeyAllAccess, key);
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
  op.Key(kKey);

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
