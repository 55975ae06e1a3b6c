#include "about/about.h"

#include "about/about_layout.h"

#include <exception>

#include "core/runtime_error.h"
#include "meta/version.h"
#include "platform/registry_key.h"

namespace vcit {

namespace {

// The bytes from the last to the first in upper-case hexadecimal, each without its leading zero.
std::string hexFromLastByte(const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string digits;
  for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
    const auto byte = static_cast<unsigned char>(*it);
    if (byte >= 0x10) digits += kDigits[byte >> 4];
    digits += kDigits[byte & 0x0F];
  }
  return digits;
}

}  // namespace

frmAbout::frmAbout(platform::Platform& platform) : platform_(platform) {
  lblDescription.setText(about::kDescription);
  lblDisclaimer.setText(about::kDisclaimer);
  ui::connect(*this, about::layout());
}

void frmAbout::Form_Load() {
  Caption.setText(std::string("About ") + app::kTitle);
  lblVersion.setText("Version " + std::to_string(app::kVersionMajor) + "." +
                     std::to_string(app::kVersionMinor) + "." +
                     std::to_string(app::kVersionRevision));
  lblTitle.setText(app::kProductName);
}

void frmAbout::cmdOK_Click() {
  if (unload) unload();
}

void frmAbout::StartSysInfo() {
  try {
    platform::reg::Key root = platform::reg::kLocalMachine;
    std::string path;
    if (!GetKeyValue(root, about::kToolKey, about::kToolValue, path)) {
      if (!GetKeyValue(root, about::kToolFolderKey, about::kToolFolderValue, path) ||
          !platform_.files.fileExists(path + about::kToolFile)) {
        platform_.messages.show(about::kUnavailable, app::kTitle, platform::mb::kOk);
        return;
      }
      path += about::kToolFile;
    }
    platform_.programs.start(path);
  } catch (const std::exception&) {
    platform_.messages.show(about::kUnavailable, app::kTitle, platform::mb::kOk);
  }
}

bool frmAbout::GetKeyValue(platform::reg::Key& KeyRoot, const std::string& KeyName,
                           const std::string& SubKeyRef, std::string& KeyVal) {
  namespace reg = platform::reg;
  platform::Registry& registry = platform_.registry;
  platform::RegistryKey key(registry);
  if (registry.openKey(KeyRoot, KeyName, 0, about::kKeyAccess, key.receive()) != reg::kSuccess) {
    key.forget();
    // The lookup closes the handle on failure too; after a failed open it is empty, and that
    // close fails without harm.
    registry.closeKey(key.get());
    KeyVal.clear();
    return false;
  }
  const auto queried = registry.queryValue(key.get(), SubKeyRef, true, about::kValueBufferSize);
  if (queried.status != reg::kSuccess) {
    KeyVal.clear();
    return false;
  }

  // A final zero byte is dropped; a value without data has no last byte to look at.
  if (queried.size == 0 || queried.data.empty()) raise(err::kInvalidProcedureCall);
  std::string data = queried.data;
  if (data.back() == '\0') data.pop_back();

  if (queried.type == reg::kTypeSz) {
    KeyVal = data;
  } else if (queried.type == reg::kTypeDword) {
    // The digits follow what KeyVal holds; the default formatting leaves the text as it is.
    KeyVal = "&h" + KeyVal + hexFromLastByte(data);
  }
  return true;
}

}  // namespace vcit
