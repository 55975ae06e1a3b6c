#pragma once

// Paths and files for end-to-end tests: Wine's view of Unix paths, temporary folders, whole
// files read and written, and the artifact folder. Windows only.

#ifdef _WIN32

#include <cstdint>
#include <string>
#include <vector>

namespace vcit::e2e {

// A Unix path ("/work/...") as Wine's Windows path ("Z:\work\..."); a Windows path unchanged.
std::string windowsPath(const std::string& path);
#ifdef VCIT_LAUNCHER_EXE
inline std::string launcherExe() {
  return windowsPath(VCIT_LAUNCHER_EXE);
}
#endif
// A new empty folder below the temporary folder, named after the label and unique to the run.
std::string newTempFolder(const std::string& label);
// The folder and any missing parents.
void createFolders(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);  // empty when missing
bool fileExists(const std::string& path);
std::uint64_t fileSize(const std::string& path);  // 0 when missing
// The names in a folder that match a pattern ("*.pk3"), sorted, without "." and "..".
std::vector<std::string> listFolder(const std::string& folder, const std::string& pattern);
// The text of a file that another process writes beside it and renames into place, once it is
// there and can be read (for a moment after the rename, Wine 10 refuses readers that do not
// share deletion); empty when it does not come within the time.
std::string waitForRenamedFile(const std::string& path, int timeoutMs = 10000);
void copyFile(const std::string& source, const std::string& target);
// Removes the folder with everything in it, read-only files too; a file that a just-ended
// program still holds is waited for a little.
void removeTree(const std::string& path);
// Removes everything in the folder but the folder itself (which may be a mount point).
void emptyFolder(const std::string& path);
// Where tests leave screenshots and other artifacts: "e2e-artifacts" in the current folder
// (the test's build folder), created on demand.
std::string artifactFolder();
// One record of the launcher's state file: the name (bytes as given) filled with spaces to 50,
// and the mark. A name longer than 50 bytes has no record (the launcher writes none either),
// so it is refused rather than cut into another name.
std::string stateRecord(const std::string& name, int mark);

}  // namespace vcit::e2e

#endif  // _WIN32
