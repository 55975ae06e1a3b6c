#pragma once

// A driver for end-to-end tests under Wine: it prepares a program folder (the launcher's .exe,
// its Mods folder and state file), a game folder and registry values, starts the real .exe,
// finds its windows, clicks and types as a user does, answers message boxes and takes
// screenshots. Windows only.

#ifdef _WIN32

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vcit::e2e {

// --- Paths and files -----------------------------------------------------------------------

// A Unix path ("/work/...") as Wine's Windows path ("Z:\work\..."); a Windows path unchanged.
std::string windowsPath(const std::string& path);
#ifdef VCIT_LAUNCHER_EXE
inline std::string launcherExe() {
  return windowsPath(VCIT_LAUNCHER_EXE);
}
#endif
// A new empty folder below the temporary folder, named after the label and unique to the run.
std::string newTempFolder(const std::string& label);
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);  // empty when missing
bool fileExists(const std::string& path);
void copyFile(const std::string& source, const std::string& target);
void removeTree(const std::string& path);
// Where tests leave screenshots and other artifacts: "e2e-artifacts" in the current folder
// (the test's build folder), created on demand.
std::string artifactFolder();
// One record of the launcher's state file: the name filled with spaces to 50, and the mark.
std::string stateRecord(const std::string& name, int mark);

// A launcher program folder: the .exe copied in, with a Mods folder and an optional state
// file beside it. Removed with everything in it when the object goes away.
class ProgramFolder {
 public:
  explicit ProgramFolder(const std::string& launcherExePath, const std::string& label = "program");
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string exe() const { return path_ + "\\VCITLauncher.exe"; }
  std::string modsDir() const { return path_ + "\\Mods"; }
  std::string stateFile() const { return path_ + "\\Active.dat"; }

  void addPackage(const std::string& name, const std::string& bytes = "package data");
  // Writes Active.dat from (name, mark) pairs in this order.
  void writeStateFile(const std::vector<std::pair<std::string, int>>& records);
  std::string readStateFile() const { return readFile(stateFile()); }

 private:
  std::string path_;
};

// A game folder with its main folder; removed when the object goes away.
class GameFolder {
 public:
  explicit GameFolder(const std::string& label = "game");
  ~GameFolder();
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string mainDir() const { return path_ + "\\main"; }
  bool hasPackage(const std::string& name) const { return fileExists(mainDir() + "\\" + name); }
  void addToMain(const std::string& name, const std::string& bytes = "old package data");
  // Copies a program in as the game's vcit.exe.
  void installGame(const std::string& exePath);

 private:
  std::string path_;
};

// A registry value set for a test and put back as it was (or removed) afterwards.
class RegistryValue {
 public:
  RegistryValue(HKEY root, std::string key, std::string name);
  ~RegistryValue();
  RegistryValue(const RegistryValue&) = delete;
  RegistryValue& operator=(const RegistryValue&) = delete;

  void setString(const std::string& text);
  void setDword(std::uint32_t number);
  void setRaw(DWORD type, const std::string& bytes);
  void remove();

 private:
  HKEY root_;
  std::string key_;
  std::string name_;
  bool keyExisted_ = false;
  bool existed_ = false;
  DWORD type_ = 0;
  std::string data_;
};

// HKCU\Software\Brackwater\VCIT "basepath", the game's folder for the launcher.
class BasePath : public RegistryValue {
 public:
  BasePath() : RegistryValue(HKEY_CURRENT_USER, "Software\\Brackwater\\VCIT", "basepath") {}
  explicit BasePath(const std::string& folder) : BasePath() { setString(folder); }
};

// --- Windows of another process --------------------------------------------------------------

// The process is DPI aware, so that window coordinates of other processes are real pixels.
void makeDpiAware();
std::string windowText(HWND hwnd);
std::string className(HWND hwnd);
// The visible top-level windows of a process.
std::vector<HWND> topLevelWindows(DWORD processId);
// A visible top-level window of the process with this caption (and class, when given).
HWND findWindow(DWORD processId, const std::string& caption, const char* windowClass = nullptr);
// Polls until the condition holds; false after the timeout.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
// Lets the window's thread process what is queued for it.
void settle(HWND hwnd);

// A rectangle in pixels: a child window relative to its parent's client area, or a window's
// client area on the screen.
RECT rectInParent(HWND child);
RECT clientOnScreen(HWND window);
// Pixels to twips at a DPI (rounded).
int pixelsToTwips(int pixels, unsigned dpi);
// The DPI the window is laid out for.
unsigned windowDpi(HWND hwnd);
// The window with the keyboard focus in the thread that owns this window.
HWND focusOf(HWND anyWindowOfThread);

// A message box (#32770) of the process: its window, title and text.
struct MessageBoxSeen {
  HWND hwnd = nullptr;
  std::string title;
  std::string text;
};
std::optional<MessageBoxSeen> waitForMessageBox(DWORD processId, int timeoutMs = 5000);
// Presses the box's button with this identifier (IDOK, IDYES, IDNO) and waits until it is gone.
void answer(const MessageBoxSeen& box, int buttonId);

// --- Input -----------------------------------------------------------------------------------

// Activates the top-level window that holds the control.
void activate(HWND anyWindow);
// A left click with the real mouse at the middle of the control.
void click(HWND control);
// A key press (down and up) with optional modifiers, through the real keyboard input.
void pressKey(WORD virtualKey, bool shift = false, bool control = false, bool alt = false);
// Types text (characters) into the focused window.
void typeText(const std::string& text);

// --- Screenshots -----------------------------------------------------------------------------

// The colour the screen shows at this point of the window's client area.
COLORREF pixelAt(HWND window, int x, int y);
// How many pixel rows of the control, inset by this many pixels on each side, hold dark
// (text) pixels: the height of the text it shows.
int inkRows(HWND control, int inset);
// Saves what the screen shows of the window (or the whole screen, with null) as a PNG file.
bool saveScreenshot(HWND window, const std::string& pngPath);

// --- The program -----------------------------------------------------------------------------

// A started program: CreateProcess in its own folder (the current directory), extra
// environment entries ("NAME=value") added. Ended at destruction when still running.
class Process {
 public:
  Process(const std::string& exePath, const std::vector<std::string>& environment = {});
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  DWORD id() const { return info_.dwProcessId; }
  bool running() const;
  // The exit code once the process has ended within the timeout.
  std::optional<DWORD> waitForExit(int timeoutMs = 10000);
  // A visible top-level window with this caption, waited for.
  HWND waitForWindow(const std::string& caption, int timeoutMs = 15000);
  void terminate();

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace vcit::e2e

#endif  // _WIN32
