#pragma once

#include <cstdint>
#include <string>

#include "core/dynamic_value.h"
#include "platform/platform.h"
#include "platform/registry_key.h"
#include "registry/value_cache.h"

namespace vcit {

// One registry key, chosen by a root and a path below it, with reading (through a
// case-insensitive value cache), writing, enumeration and deletion of its values and subkeys.
class RegOp {
 public:
  // Option bits.
  static constexpr std::int32_t StoreNumbersAsText = 1;
  static constexpr std::int32_t MultiStringAsArray = 2;
  static constexpr std::int32_t ExpandOnRead = 4;
  static constexpr std::int32_t ShowErrors = 8;

  RegOp(platform::Registry& registry, platform::System& system, platform::MessageBoxes& messages);
  ~RegOp();
  RegOp(const RegOp&) = delete;
  RegOp& operator=(const RegOp&) = delete;

  void Root(std::uint32_t lProp);
  void Key(const std::string& strProp);
  void Options(std::int32_t lProp);
  void Value(const std::string& ValueName, const DynamicValue& vValue);
  DynamicValue Value(const std::string& ValueName);
  DynamicValue AllValues();
  DynamicValue AllKeys();
  bool DeleteValue(const std::string& ValueName);
  bool DeleteKey();
  std::int32_t ValueCount();
  std::int32_t KeyCount();

 private:
  bool EnsureOpen();
  void OpenKey(std::uint32_t root, const std::string& path);
  void CloseKey();
  void LoadValues();
  static std::string TrimAtNull(const std::string& s);
  static std::string TrimAtDoubleNull(const std::string& s);
  std::string ExpandEnvironment(const std::string& s);
  void ReportError(const std::string& message);
  bool IsWindowsNT();
  bool HasEnvironmentReference(const std::string& s);
  bool ShellDeleteAvailable();
  // Takes the key's figures again after a write or deletion: the value figures or the subkey
  // figures.
  void RefreshKeyInfo(bool values, bool subKeys);
  // The cached form of a value of a type other than REG_DWORD, from its buffer.
  DynamicValue ConvertData(std::uint32_t type, const std::string& buffer);

  platform::Registry& registry_;
  platform::System& system_;
  platform::MessageBoxes& messages_;

  std::uint32_t RequestedAccess = 0;
  std::uint32_t OpenAccess = 0;
  std::uint32_t CurrentRoot = 0;
  std::int32_t OptionFlags = 0;
  std::string CurrentKey;
  DynamicValue PendingValue;
  platform::RegistryKey KeyHandle;
  std::uint32_t SubKeyTotal = 0;
  std::uint32_t ValueTotal = 0;
  std::uint32_t MaxSubKeyNameLength = 0;
  std::uint32_t MaxValueNameLength = 0;
  std::uint32_t MaxValueDataLength = 0;
  bool IsNT = false;
  ValueCache cache_;
};

}  // namespace vcit
