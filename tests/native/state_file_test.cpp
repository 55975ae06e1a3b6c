#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "launcher/state_file.h"
#include "platform/fake/fake_files.h"

namespace vcit::launcher {
namespace {

TEST(StateRecord, IsTheTrimmedNameFilledToFiftyThenTheMark) {
  EXPECT_EQ(buildRecord("abc.pk3", 1), "abc.pk3" + std::string(43, ' ') + "1");
  EXPECT_EQ(buildRecord("  abc.pk3 ", 2), "abc.pk3" + std::string(43, ' ') + "2");
  const std::string fifty(50, 'x');
  EXPECT_EQ(buildRecord(fifty, 0), fifty + "0");
  try {
    buildRecord(fifty + "y", 0);
    FAIL() << "a 51-character name has no room";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 5);
  }
}

TEST(StateRecord, NonAsciiNamesCountCharacters) {
  const std::string name = "\xC3\xA9" + std::string(49, 'e');  // 50 characters, 51 bytes
  const std::string r = buildRecord(name, 1);
  EXPECT_EQ(r, name + "1");
  EXPECT_EQ(markOf(r), 1);
}

TEST(StateLookup, ReadsWholeRecordsFromTheStart) {
  platform::FakeFileSystem files;
  files.addFile("C:\\s.dat", buildRecord("a.pk3", 0) + buildRecord("b.pk3", 1) + "b.pk3");
  auto f = files.openRecordFile("C:\\s.dat", kRecordLength);
  EXPECT_EQ(markOf(*findRecord(*f, "b.pk3")), 1);
  EXPECT_EQ(markOf(*findRecord(*f, "a.pk3")), 0);
  EXPECT_FALSE(findRecord(*f, "c.pk3"));
  EXPECT_FALSE(findRecord(*f, " a.pk3")) << "the listed name is not trimmed";
}

}  // namespace
}  // namespace vcit::launcher
