#pragma once

#include "platform/registry_api.h"

namespace vcit::platform {

// An open registry key, closed through its registry when the owner lets it go: the one owner
// of key handles above the platform layer.
class RegistryKey {
 public:
  explicit RegistryKey(Registry& registry) : registry_(registry) {}
  ~RegistryKey() { close(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  reg::Key get() const { return key_; }
  explicit operator bool() const { return key_ != 0; }

  // Where createKey or openKey put the key they open; a key held before is closed first.
  reg::Key& receive() {
    close();
    return key_;
  }
  // Lets go of what a failed open left in the handle: there is no key to close.
  void forget() { key_ = 0; }
  void close() {
    if (key_ == 0) return;
    registry_.closeKey(key_);
    key_ = 0;
  }

 private:
  Registry& registry_;
  reg::Key key_ = 0;
};

}  // namespace vcit::platform
