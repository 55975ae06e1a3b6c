#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "launcher/launcher.h"
#include "platform/fake/fake_platform.h"

// The state-file target's pieces: the program and game folders it sets up, package names and
// state-file bytes made from the input, and what start-up must give for them.
namespace vcit::fuzz {

inline constexpr const char* kProgramDir = "C:\\VCIT";
inline constexpr const char* kModsDir = "C:\\VCIT\\Mods\\";
inline constexpr const char* kStateFile = "C:\\VCIT\\Active.dat";
inline constexpr const char* kGameDir = "C:\\Games\\VCIT";
inline constexpr const char* kMainDir = "C:\\Games\\VCIT\\main\\";

// The error numbers of the failure reports shown from this one on ("<number>:<description>").
std::vector<int> reportedErrors(const platform::FakeMessageBoxes& messages, std::size_t from);

// A file name from the input: printable characters ("?" among them, as Wine lists), the odd
// space, Latin-1 and Cyrillic letter, and an extension that is usually ".pk3".
std::string packageName(Bytes& in);

// A record made byte by byte: the name as stored today (or, when it has no such form or
// earlierForm is set, by the code page's default conversion), cut or filled with spaces to 50
// bytes, then the mark.
std::string rawRecord(const platform::FileSystem& files, const std::string& name, char mark,
                      bool earlierForm);

// An Active.dat from the input: its raw bytes, or records of these names with arbitrary marks,
// padding, case and cuts, and garbage between them.
std::string stateFileBytes(Bytes& in, const std::vector<std::string>& names,
                           const platform::FileSystem& files);

// What start-up should give, worked out from the listing and the file's bytes.
struct ExpectedStart {
  int rows = 0;
  std::vector<int> marks;
  int error = 0;
  std::string failedRowText;  // a row whose mark failed keeps the package name
  bool pending = false;       // after an Apply that recorded its marks and did not end
};

ExpectedStart expectedStart(const std::vector<std::string>& listing, const std::string& file,
                            platform::FileSystem& files);

// Checks the launcher after a start-up against what was expected, with the reports shown
// from messagesBefore on.
void checkStart(frmLauncher& l, platform::FakePlatform& fake, std::size_t messagesBefore,
                const ExpectedStart& e);

}  // namespace vcit::fuzz
