#pragma once

#include <cstdint>
#include <string>

namespace vcit::platform {

// Registry constants with the values Windows gives them (kept apart from <windows.h>'s macros).
namespace reg {
using Key = std::uint64_t;  // an open key handle or a predefined root; 0 is no key
inline constexpr std::uint32_t kClassesRoot = 0x80000000u;
inline constexpr std::uint32_t kCurrentUser = 0x80000001u;
inline constexpr std::uint32_t kLocalMachine = 0x80000002u;
inline constexpr std::uint32_t kUsers = 0x80000003u;

inline constexpr std::uint32_t kTypeNone = 0;
inline constexpr std::uint32_t kTypeSz = 1;
inline constexpr std::uint32_t kTypeExpandSz = 2;
inline constexpr std::uint32_t kTypeBinary = 3;
inline constexpr std::uint32_t kTypeDword = 4;
inline constexpr std::uint32_t kTypeDwordBigEndian = 5;
inline constexpr std::uint32_t kTypeLink = 6;
inline constexpr std::uint32_t kTypeMultiSz = 7;

inline constexpr long kSuccess = 0;
inline constexpr long kFileNotFound = 2;
inline constexpr long kAccessDenied = 5;
inline constexpr long kInvalidHandle = 6;
inline constexpr long kMoreData = 234;
inline constexpr long kNoMoreItems = 259;

inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyReadWrite = 0x2001F;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// Whether data of this type is text (converted between UTF-8 and the code page by the layer).
inline bool isTextType(std::uint32_t type) {
  return type == kTypeSz || type == kTypeExpandSz || type == kTypeMultiSz;
}
}  // namespace reg

// The registry's "A" functions. Names and text data are UTF-8 here; the Windows implementation
// converts them to and from the system code page at each call. Data of the text types
// (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) is UTF-8 text, NULs included; other data is raw bytes.
// Sizes and capacities are in bytes of the code page, as the functions count them.
class Registry {
 public:
  virtual ~Registry() = default;

  // RegCreateKeyExA: opens the key, or creates it with all missing keys on its path.
  virtual long createKey(reg::Key root, const std::string& path, const std::string& className,
                         std::uint32_t options, std::uint32_t access, reg::Key& result) = 0;
  // RegOpenKeyExA.
  virtual long openKey(reg::Key root, const std::string& path, std::uint32_t options,
                       std::uint32_t access, reg::Key& result) = 0;
  virtual long closeKey(reg::Key key) = 0;

  struct KeyInfo {
    std::uint32_t subKeys = 0;
    std::uint32_t maxSubKeyNameLength = 0;  // characters, without the NUL
    std::uint32_t values = 0;
    std::uint32_t maxValueNameLength = 0;  // characters, without the NUL
    std::uint32_t maxValueDataLength = 0;  // bytes
  };
  // RegQueryInfoKeyA.
  virtual long queryInfoKey(reg::Key key, KeyInfo& info) = 0;

  struct Enumerated {
    long status = 0;
    std::string name;  // the name written into the buffer (valid on success)
    std::uint32_t type = 0;
    std::string data;  // the data written, as many bytes as the call reported
  };
  // RegEnumValueA with a name buffer of nameCapacity characters (NUL included) and a data
  // buffer of dataCapacity bytes. ERROR_MORE_DATA when either is too small.
  virtual Enumerated enumValue(reg::Key key, std::uint32_t index, std::uint32_t nameCapacity,
                               std::uint32_t dataCapacity) = 0;
  // RegEnumKeyExA with a name buffer of nameCapacity characters (NUL included).
  virtual long enumKey(reg::Key key, std::uint32_t index, std::uint32_t nameCapacity,
                       std::string& name) = 0;

  struct Queried {
    long status = 0;
    std::uint32_t type = 0;
    std::uint32_t size = 0;  // bytes the value holds (no buffer) or bytes written
    std::string data;        // the data written (empty without a buffer)
  };
  // RegQueryValueExA; withBuffer false passes no data buffer (learns type and size only).
  virtual Queried queryValue(reg::Key key, const std::string& name, bool withBuffer,
                             std::uint32_t capacity) = 0;
  // RegSetValueExA with data.size() as the size (after conversion for the text types).
  virtual long setValue(reg::Key key, const std::string& name, std::uint32_t type,
                        const std::string& data) = 0;
  virtual long deleteValue(reg::Key key, const std::string& name) = 0;
  // RegDeleteKeyA: deletes a key that has no subkeys.
  virtual long deleteKey(reg::Key key, const std::string& subKey) = 0;
  // SHDeleteKeyA (Shlwapi): deletes the key with its whole subtree.
  virtual long shellDeleteKey(reg::Key key, const std::string& subKey) = 0;
};

}  // namespace vcit::platform
