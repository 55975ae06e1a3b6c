#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "core/runtime_error.h"
#include "core/text.h"
#include "fuzz/fuzz_targets.h"
#include "fuzz/state_file_situation.h"
#include "launcher/launcher.h"
#include "launcher/state_file.h"
#include "platform/fake/fake_platform.h"

namespace vcit::fuzz {

namespace reg = platform::reg;

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
    if (text::length(name) > 50) allowed.insert(err::kInvalidProcedureCall);
    if ((flags & 4) && (applyBytes[1] >> (i % 8) & 1)) {
      fake.files.addFile(kMainDir + name, "old " + name);
      if (flags & 8) {
        fake.files.find(kMainDir + name)->readOnly = true;
        allowed.insert(err::kPathFileAccessError);
      }
    }
  }
  if (flags & 16) {
    fake.files.failReplaceContents = true;  // the new state file cannot be written
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
  const std::uint64_t stateWritten = fake.files.find(kStateFile)->lastWriteTime;
  l.Apply();
  const bool recorded = fake.files.find(kStateFile)->lastWriteTime != stateWritten;
  fake.files.failReplaceContents = false;
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
  const auto records = written.size() / launcher::kRecordLength;
  // A stop before the new state file was in place leaves the old one, whatever it held.
  if (written != file) {
    check(written.size() % launcher::kRecordLength == 0, "the state file holds a part of a record");
    check(records <= static_cast<unsigned>(l.ModCount), "the state file has extra records");
  }
  if (complete)
    check(records == static_cast<unsigned>(l.ModCount), "a complete Apply lost records");

  // The game folder holds whole packages only: each file is its source or what was there.
  std::map<std::string, std::optional<std::string>> finalState;  // expected after a full run
  for (int i = 0; i < l.ModCount; ++i) {
    const std::string name = text::trimSpaces(l.txtPk3(i).text());
    const std::string folded = text::foldCase(name);
    // A marked package is its source; one whose source is gone stays as it was; an unmarked
    // one is gone (also after an earlier row of the same target copied it).
    std::optional<std::string>& want = finalState[folded];
    if (l.chkActive(i).value() != 1) {
      want.reset();
      continue;
    }
    const auto src = sources.find(folded);
    const auto old = before.find(text::foldCase(kMainDir + name));
    if (src != sources.end())
      want = src->second;
    else if (old != before.end())
      want = old->second;
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
  ExpectedStart again = expectedStart(fake.files.listFiles(kModsDir, "*.pk3"), written, fake.files);
  again.pending = recorded && !complete;
  frmLauncher second(fake.platform);
  const std::size_t shownBeforeSecond = fake.messages.shown().size();
  second.Form_Load();
  checkStart(second, fake, shownBeforeSecond, again);
  if (written != file) {
    check(again.error == 0 || again.error == err::kControlArrayElementMissing,
          "what Apply wrote cannot be read back");
  }
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

}  // namespace vcit::fuzz
