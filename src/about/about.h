#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"
#include "ui/command_button.h"
#include "ui/label.h"

namespace vcit {

namespace about {
inline constexpr const char* kDescription =
    "This program applies mods to VC:IT by copying the pk3 files into the main directory as "
    "specified by the user.  To use place pk3 files in this program's data directory.";
inline constexpr const char* kDisclaimer =
    "Written by the VC:IT Mod Launcher team. Contact: launcher@vcit-mods.example";
inline constexpr const char* kUnavailable = "System Information Is Unavailable At This Time";

// Where the system-information tool is registered, below HKEY_LOCAL_MACHINE.
inline constexpr const char* kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* kToolValue = "PATH";
inline constexpr const char* kToolFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char* kToolFolderValue = "MSINFO";
inline constexpr const char* kToolFile = "\\MSINFO32.EXE";

// The rights the lookup opens its keys with: KEY_QUERY_VALUE, KEY_SET_VALUE,
// KEY_CREATE_SUB_KEY, KEY_ENUMERATE_SUB_KEYS, KEY_NOTIFY, KEY_CREATE_LINK and READ_CONTROL.
inline constexpr std::uint32_t kKeyAccess = 0x2003F;
inline constexpr std::uint32_t kValueBufferSize = 1024;
}  // namespace about

// The About window's logic: what it shows, and the start of the system-information tool
// (about::layout() names each control's handler).
class frmAbout : public ui::FormLogic {
 public:
  explicit frmAbout(platform::Platform& platform);
  frmAbout(const frmAbout&) = delete;
  frmAbout& operator=(const frmAbout&) = delete;

  // Events.
  void Form_Load();
  void cmdOK_Click();
  void cmdSysInfo_Click() { StartSysInfo(); }

  // Finds the system-information tool through the registry and starts it; every failure
  // ends in one message.
  void StartSysInfo();
  // Reads the value SubKeyRef of KeyRoot\KeyName into KeyVal (text as it is, a number as
  // "&h" and its bytes in hexadecimal from the last to the first); true when the key opened
  // and the value was read, whatever its type.
  bool GetKeyValue(platform::reg::Key& KeyRoot, const std::string& KeyName,
                   const std::string& SubKeyRef, std::string& KeyVal);

  // Controls.
  ui::Label Caption;
  ui::Label lblTitle;
  ui::Label lblVersion;
  ui::Label lblDescription;
  ui::Label lblDisclaimer;
  ui::CommandButton cmdOK;
  ui::CommandButton cmdSysInfo;

  // What the window around this logic provides: unloading the window.
  std::function<void()> unload;

 private:
  platform::Platform& platform_;
};

}  // namespace vcit
