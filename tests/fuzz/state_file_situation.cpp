#include "fuzz/state_file_situation.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "core/runtime_error.h"
#include "core/text.h"
#include "launcher/state_file.h"

namespace vcit::fuzz {

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

std::string packageName(Bytes& in) {
  const int length = in.next() % 56;
  std::string name;
  for (int k = 0; k < length; ++k) {
    const std::uint8_t b = in.next();
    if (b >= 0xF8) {
      name += utf8(0x430 + b % 8u);  // Cyrillic, outside the code page
    } else if (b >= 0xC0) {
      name += utf8(b);
    } else if (b < 0x20 || b >= 0x7F || std::strchr("<>:\"/\\|*", b) != nullptr) {
      name += static_cast<char>('a' + b % 26);
    } else {
      name += static_cast<char>(b);
    }
  }
  static const char* const kSuffixes[] = {".pk3", ".pk3", ".pk3",  ".pk3",
                                          ".pk3", ".PK3", ".pk3x", ""};
  return name + kSuffixes[in.next() % 8];
}

std::string rawRecord(const platform::FileSystem& files, const std::string& name, char mark,
                      bool earlierForm) {
  const auto stored = launcher::storedName(files, name);
  std::string r =
      (stored && !earlierForm ? *stored : files.defaultCodePageBytes(name)).substr(0, 50);
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
    const bool earlier = (op & 0x20) != 0;
    switch (op % 5) {
      case 0:
        bytes += rawRecord(files, name, mark, earlier);
        break;
      case 1:
        bytes += rawRecord(files, " " + name + " ", mark, earlier);
        break;
      case 2:
        bytes += rawRecord(files, text::foldCase(name), mark, earlier);
        break;
      case 3:
        bytes += in.take(in.next() % 64);
        break;
      default:
        bytes += rawRecord(files, name, mark, earlier).substr(0, m % 51);
        break;
    }
  }
  return bytes;
}

namespace {

// The form in which earlier builds stored the listed name, when it differs from today's and
// no other listed name has it, today or earlier.
std::optional<std::string> earlierForm(const std::vector<std::string>& listing, std::size_t i,
                                       const platform::FileSystem& files) {
  const auto today = launcher::storedName(files, listing[i]);
  const std::string earlier = files.defaultCodePageBytes(listing[i]);
  if (!today || earlier == *today || earlier.size() > 50 || text::trimSpaces(earlier) != earlier)
    return std::nullopt;
  for (std::size_t j = 0; j < listing.size(); ++j) {
    const auto other = launcher::storedName(files, listing[j]);
    if (j != i && other && (*other == earlier || files.defaultCodePageBytes(listing[j]) == earlier))
      return std::nullopt;
  }
  return earlier;
}

}  // namespace

ExpectedStart expectedStart(const std::vector<std::string>& listing, const std::string& file,
                            platform::FileSystem& files) {
  ExpectedStart e;
  const std::size_t records = file.size() / 51;
  for (std::size_t i = 0; i < listing.size(); ++i) {
    if (i >= 16) {
      e.error = err::kControlArrayElementMissing;
      return e;
    }
    std::optional<std::string> found;
    bool earlier = false;  // found in the earlier form: a mark 1 counts where main holds it
    for (const auto& form :
         {launcher::storedName(files, listing[i]), earlierForm(listing, i, files)}) {
      for (std::size_t n = 0; n < records && form && !found; ++n) {
        const std::string record = file.substr(n * 51, 51);
        if (*form == text::trimSpaces(record.substr(0, 50))) found = record;
      }
      if (found) break;
      earlier = true;
    }
    const bool claimsNothing =
        found && earlier && (*found)[50] == '1' && !files.fileExists(kMainDir + listing[i]);
    if (claimsNothing) {
      e.marks.push_back(0);
      ++e.rows;
      continue;
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
    check(l.Applied == !e.pending, e.pending ? "a start after an Apply cut short shows nothing "
                                               "pending"
                                             : "a complete start-up leaves changes pending");
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

}  // namespace vcit::fuzz
