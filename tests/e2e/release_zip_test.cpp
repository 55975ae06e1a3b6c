// The release zip as a player gets it: unpacked into an empty folder (by the release_zip_unpack
// step that runs before these tests), the program started from there finds the game through the
// registry, lists the packages put into its Mods folder and applies a mark to the game.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "launcher/control_ids.h"
#include "support/e2e_driver.h"

namespace vcit::e2e {
namespace {

namespace fs = std::filesystem;
namespace ids = launcher::ids;

// The names in a folder, sorted, each folder's with a trailing backslash.
std::vector<std::string> entriesOf(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(fs::path(folder)))
    names.push_back(entry.path().filename().string() + (entry.is_directory() ? "\\" : ""));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ReleaseZip, TheUnpackedProgramFindsTheGameListsItsModsAndApplies) {
  makeDpiAware();
  const std::string folder = windowsPath(VCIT_RELEASE_DIR);
  ASSERT_EQ(entriesOf(folder),
            (std::vector<std::string>{"LICENSE.txt", "Mods\\", "README.txt", "VCITLauncher.exe"}));
  ASSERT_TRUE(entriesOf(folder + "\\Mods").empty()) << "the zip's Mods folder is empty";

  GameFolder game{"release-game"};
  game.installGame(windowsPath(VCIT_STANDIN_GAME));
  BasePath basePath{game.path()};
  const std::vector<std::string> packages = {"crest_banners.pk3", "hd_textures.pk3",
                                             "iron_tide_maps.pk3"};
  for (const auto& name : packages) writeFile(folder + "\\Mods\\" + name, "package " + name);

  Process process(folder + "\\VCITLauncher.exe");
  const HWND window = process.waitForWindow("VC:IT Mod Launcher");
  ASSERT_NE(window, nullptr) << "the launcher window did not appear";
  std::vector<std::string> rows;
  for (int i = 0; i < 16; ++i) rows.push_back(windowText(childById(window, ids::kNameBase + i)));
  std::vector<std::string> expected = packages;
  expected.resize(16);
  EXPECT_EQ(rows, expected);
  EXPECT_TRUE(saveScreenshot(window, artifactFolder() + "\\release-zip.png"));

  // The game's folder came from the registry: Apply copies the marked package into its main.
  click(childById(window, ids::kMarkBase + 1));
  click(childById(window, ids::kApply));
  settle(window);
  EXPECT_TRUE(waitUntil([&] { return game.hasPackage("hd_textures.pk3"); }));
  EXPECT_EQ(readFile(game.mainDir() + "\\hd_textures.pk3"), "package hd_textures.pk3");
  EXPECT_FALSE(game.hasPackage("crest_banners.pk3"));
}

// Older Notepads show a file with bare line feeds as one line.
TEST(ReleaseZip, TheTextFilesHaveWindowsLineEndings) {
  for (const char* name : {"README.txt", "LICENSE.txt"}) {
    SCOPED_TRACE(name);
    const std::string text = readFile(windowsPath(VCIT_RELEASE_DIR) + "\\" + name);
    ASSERT_GT(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << "its last line ends too";
    std::size_t lines = 0;
    std::size_t bareEnds = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const bool lineFeed = text[i] == '\n';
      const bool afterCr = i > 0 && text[i - 1] == '\r';
      if (lineFeed) ++lines;
      if (lineFeed != afterCr) ++bareEnds;  // a line feed without a CR, or a CR without one
    }
    EXPECT_EQ(bareEnds, 0u);
    EXPECT_GT(lines, 10u);
  }
}

// What a PE file imports, read from its import and delay-import directories: each DLL
// (lowercase) and each function by name ("#n" by ordinal). Throws on a file that is no
// well-formed 64-bit PE.
struct Imports {
  std::vector<std::string> dlls;
  std::vector<std::pair<std::string, std::string>> functions;  // DLL, function
};

Imports importsOf(const std::string& image) {
  const auto read = [&image]<class T>(std::size_t offset, T& out) {
    if (offset > image.size() || image.size() - offset < sizeof out)
      throw std::runtime_error("not a well-formed PE file");
    std::memcpy(&out, image.data() + offset, sizeof out);
  };
  IMAGE_DOS_HEADER dos{};
  read(0, dos);
  IMAGE_NT_HEADERS64 nt{};
  read(static_cast<std::size_t>(dos.e_lfanew), nt);
  if (dos.e_magic != IMAGE_DOS_SIGNATURE || nt.Signature != IMAGE_NT_SIGNATURE ||
      nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
    throw std::runtime_error("not a 64-bit PE file");
  const std::size_t sections = static_cast<std::size_t>(dos.e_lfanew) +
                               offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                               nt.FileHeader.SizeOfOptionalHeader;
  // A relative virtual address as an offset into the file, through the section holding it.
  const auto fileOffset = [&](ULONGLONG rva) -> std::size_t {
    for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
      IMAGE_SECTION_HEADER section{};
      read(sections + i * sizeof section, section);
      if (rva >= section.VirtualAddress && rva - section.VirtualAddress < section.SizeOfRawData)
        return section.PointerToRawData + (rva - section.VirtualAddress);
    }
    throw std::runtime_error("an address outside every section");
  };
  const auto text = [&](ULONGLONG rva) {
    const std::size_t at = fileOffset(rva);
    const std::size_t end = image.find('\0', at);
    if (end == std::string::npos) throw std::runtime_error("an unterminated name");
    return image.substr(at, end - at);
  };
  Imports imports;
  // One DLL's names: a table of 64-bit entries up to a zero one, each an ordinal (top bit) or
  // the address of a hint and a name.
  const auto addDll = [&](ULONGLONG nameRva, ULONGLONG namesRva) {
    std::string dll = text(nameRva);
    for (char& c : dll) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    imports.dlls.push_back(dll);
    for (std::size_t at = fileOffset(namesRva);; at += sizeof(ULONGLONG)) {
      ULONGLONG entry = 0;
      read(at, entry);
      if (entry == 0) break;
      imports.functions.emplace_back(dll, IMAGE_SNAP_BY_ORDINAL64(entry)
                                              ? "#" + std::to_string(IMAGE_ORDINAL64(entry))
                                              : text(entry + sizeof(WORD)));
    }
  };
  const auto& directories = nt.OptionalHeader.DataDirectory;
  if (const DWORD table = directories[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress) {
    for (std::size_t at = fileOffset(table);; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
      IMAGE_IMPORT_DESCRIPTOR d{};
      read(at, d);
      if (d.Name == 0) break;
      addDll(d.Name, d.OriginalFirstThunk != 0 ? d.OriginalFirstThunk : d.FirstThunk);
    }
  }
  if (const DWORD table = directories[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].VirtualAddress) {
    for (std::size_t at = fileOffset(table);; at += sizeof(IMAGE_DELAYLOAD_DESCRIPTOR)) {
      IMAGE_DELAYLOAD_DESCRIPTOR d{};
      read(at, d);
      if (d.DllNameRVA == 0) break;
      // An old-style descriptor holds virtual addresses rather than relative ones.
      const ULONGLONG base = d.Attributes.RvaBased ? 0 : nt.OptionalHeader.ImageBase;
      addDll(d.DllNameRVA - base, d.ImportNameTableRVA - base);
    }
  }
  return imports;
}

Imports programImports() {
  return importsOf(readFile(windowsPath(VCIT_RELEASE_DIR) + "\\VCITLauncher.exe"));
}

// A DLL that is not one of the KnownDLLs is looked for in the program's folder first, where a
// download or a mod pack may have left one: the .exe imports only these at load time and loads
// the others from System32 (platform/win32/system_libraries.h). ntdll is in every process
// before anything else is loaded.
TEST(ReleaseZip, TheProgramImportsOnlyDllsWindowsTakesFromItsOwnList) {
  const std::set<std::string> knownDlls = {
      "advapi32.dll", "clbcatq.dll",  "combase.dll",  "comdlg32.dll", "coml2.dll",    "gdi32.dll",
      "gdiplus.dll",  "imagehlp.dll", "imm32.dll",    "kernel32.dll", "msctf.dll",    "msvcrt.dll",
      "normaliz.dll", "nsi.dll",      "ntdll.dll",    "ole32.dll",    "oleaut32.dll", "psapi.dll",
      "rpcrt4.dll",   "sechost.dll",  "setupapi.dll", "shcore.dll",   "shell32.dll",  "shlwapi.dll",
      "user32.dll",   "wldap32.dll",  "ws2_32.dll"};
  const std::vector<std::string> imported = programImports().dlls;
  EXPECT_GE(imported.size(), 3u) << "kernel32, user32 and more";
  for (const auto& dll : imported) EXPECT_TRUE(knownDlls.contains(dll)) << dll;
}

// Windows refuses to start a program that imports a function it lacks, before any message of
// the program's own: every import must be one Windows 7 SP1 has (the list is data, with the
// version the documentation names for each function).
TEST(ReleaseZip, EveryImportedFunctionIsOneWindows7Has) {
  const std::set<std::string> versions = {"Windows 2000",  "Windows XP", "Windows XP SP1",
                                          "Windows Vista", "Windows 7",  "x64 Windows",
                                          "C runtime"};
  std::set<std::pair<std::string, std::string>> listed;
  std::istringstream list(readFile(windowsPath(VCIT_WINDOWS7_FUNCTIONS)));
  for (std::string line; std::getline(list, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string dll, function, since;
    fields >> dll >> function >> std::ws;
    std::getline(fields, since);
    if (!since.empty() && since.back() == '\r') since.pop_back();
    EXPECT_TRUE(versions.contains(since)) << line << ": not a Windows 7 SP1 function";
    listed.emplace(dll, function);
  }
  const Imports imports = programImports();
  EXPECT_GE(imports.functions.size(), 100u);
  for (const auto& [dll, function] : imports.functions)
    EXPECT_TRUE(listed.contains({dll, function}))
        << dll << " " << function << ": not on the list of Windows 7's functions";
}

}  // namespace
}  // namespace vcit::e2e
