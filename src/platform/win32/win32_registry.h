#pragma once

#include <windows.h>

#include "platform/registry_api.h"

namespace vcit::platform {

// The handle the registry functions take for a key: a predefined root, a 32-bit value, is
// sign-extended as <windows.h> defines it (HKEY_CLASSES_ROOT is 0xFFFFFFFF80000000 in a
// 64-bit program). Wine takes the root without its sign extension too.
HKEY toHkey(reg::Key key);

// The Windows registry through its "A" functions. Names and text data are converted between
// UTF-8 and the system code page at each call; predefined roots (32-bit values) are
// sign-extended into handles. SHDeleteKeyA is bound from Shlwapi at its first call, so the
// program starts where that library is missing.
class Win32Registry : public Registry {
 public:
  long createKey(reg::Key root, const std::string& path, const std::string& className,
                 std::uint32_t options, std::uint32_t access, reg::Key& result) override;
  long openKey(reg::Key root, const std::string& path, std::uint32_t options, std::uint32_t access,
               reg::Key& result) override;
  long closeKey(reg::Key key) override;
  long queryInfoKey(reg::Key key, KeyInfo& info) override;
  Enumerated enumValue(reg::Key key, std::uint32_t index, std::uint32_t nameCapacity,
                       std::uint32_t dataCapacity) override;
  long enumKey(reg::Key key, std::uint32_t index, std::uint32_t nameCapacity,
               std::string& name) override;
  Queried queryValue(reg::Key key, const std::string& name, bool withBuffer,
                     std::uint32_t capacity) override;
  long setValue(reg::Key key, const std::string& name, std::uint32_t type,
                const std::string& data) override;
  long deleteValue(reg::Key key, const std::string& name) override;
  long deleteKey(reg::Key key, const std::string& subKey) override;
  long shellDeleteKey(reg::Key key, const std::string& subKey) override;

 private:
  using Procedure = void (*)();
  bool shellBound_ = false;          // the binding was tried
  Procedure shDeleteKey_ = nullptr;  // SHDeleteKeyA, when Shlwapi has it
};

}  // namespace vcit::platform
