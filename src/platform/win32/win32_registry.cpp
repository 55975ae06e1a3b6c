#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <bit>
#include <vector>

#include "platform/win32/text_conversion.h"

namespace vcit::platform {

HKEY toHkey(reg::Key key) {
  if (key >= 0x80000000u && key <= 0xFFFFFFFFu)
    return reinterpret_cast<HKEY>(
        static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(key))));
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

namespace {

reg::Key fromHkey(HKEY key) {
  return static_cast<reg::Key>(reinterpret_cast<ULONG_PTR>(key));
}

std::string ansiName(const std::string& utf8) {
  return win32::toCodePage(utf8);
}

// Data as the registry holds it in the code page (text types) or as raw bytes.
std::string toRegistryData(std::uint32_t type, const std::string& data) {
  return reg::isTextType(type) ? win32::toCodePage(data) : data;
}

std::string fromRegistryData(std::uint32_t type, const BYTE* data, DWORD size) {
  const auto* bytes = reinterpret_cast<const char*>(data);
  return reg::isTextType(type) ? win32::fromCodePage(bytes, size) : std::string(bytes, size);
}

// A buffer that is never a null pointer, also when its capacity is 0 (a null data pointer
// means "no data wanted" to the registry functions).
template <class T>
std::vector<T> buffer(std::uint32_t capacity) {
  return std::vector<T>(capacity == 0 ? 1 : capacity);
}

}  // namespace

long Win32Registry::createKey(reg::Key root, const std::string& path, const std::string& className,
                              std::uint32_t options, std::uint32_t access, reg::Key& result) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  std::string cls = ansiName(className);
  const LONG status = RegCreateKeyExA(toHkey(root), ansiName(path).c_str(), 0, cls.data(), options,
                                      access, nullptr, &key, &disposition);
  result = status == ERROR_SUCCESS ? fromHkey(key) : 0;
  return status;
}

long Win32Registry::openKey(reg::Key root, const std::string& path, std::uint32_t options,
                            std::uint32_t access, reg::Key& result) {
  HKEY key = nullptr;
  const LONG status = RegOpenKeyExA(toHkey(root), ansiName(path).c_str(), options, access, &key);
  result = status == ERROR_SUCCESS ? fromHkey(key) : 0;
  return status;
}

long Win32Registry::closeKey(reg::Key key) {
  return RegCloseKey(toHkey(key));
}

long Win32Registry::queryInfoKey(reg::Key key, KeyInfo& info) {
  DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueNameLen = 0, maxValueLen = 0;
  const LONG status =
      RegQueryInfoKeyA(toHkey(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen, nullptr,
                       &values, &maxValueNameLen, &maxValueLen, nullptr, nullptr);
  if (status == ERROR_SUCCESS) {
    info.subKeys = subKeys;
    info.maxSubKeyNameLength = maxSubKeyLen;
    info.values = values;
    info.maxValueNameLength = maxValueNameLen;
    info.maxValueDataLength = maxValueLen;
  }
  return status;
}

Registry::Enumerated Win32Registry::enumValue(reg::Key key, std::uint32_t index,
                                              std::uint32_t nameCapacity,
                                              std::uint32_t dataCapacity) {
  auto name = buffer<char>(nameCapacity);
  auto data = buffer<BYTE>(dataCapacity);
  DWORD nameSize = nameCapacity, dataSize = dataCapacity, type = 0;
  Enumerated out;
  out.status = RegEnumValueA(toHkey(key), index, name.data(), &nameSize, nullptr, &type,
                             data.data(), &dataSize);
  if (out.status == ERROR_SUCCESS) {
    out.name = win32::fromCodePage(name.data(), nameSize);
    out.type = type;
    out.data = fromRegistryData(type, data.data(), dataSize);
  }
  return out;
}

long Win32Registry::enumKey(reg::Key key, std::uint32_t index, std::uint32_t nameCapacity,
                            std::string& name) {
  auto buf = buffer<char>(nameCapacity);
  DWORD size = nameCapacity;
  FILETIME lastWrite{};
  const LONG status =
      RegEnumKeyExA(toHkey(key), index, buf.data(), &size, nullptr, nullptr, nullptr, &lastWrite);
  if (status == ERROR_SUCCESS) name = win32::fromCodePage(buf.data(), size);
  return status;
}

Registry::Queried Win32Registry::queryValue(reg::Key key, const std::string& name, bool withBuffer,
                                            std::uint32_t capacity) {
  Queried out;
  DWORD type = 0, size = withBuffer ? capacity : 0;
  if (!withBuffer) {
    out.status =
        RegQueryValueExA(toHkey(key), ansiName(name).c_str(), nullptr, &type, nullptr, &size);
  } else {
    auto data = buffer<BYTE>(capacity);
    out.status =
        RegQueryValueExA(toHkey(key), ansiName(name).c_str(), nullptr, &type, data.data(), &size);
    if (out.status == ERROR_SUCCESS) out.data = fromRegistryData(type, data.data(), size);
  }
  out.type = type;
  out.size = size;
  return out;
}

long Win32Registry::setValue(reg::Key key, const std::string& name, std::uint32_t type,
                             const std::string& data) {
  const std::string bytes = toRegistryData(type, data);
  return RegSetValueExA(toHkey(key), ansiName(name).c_str(), 0, type,
                        reinterpret_cast<const BYTE*>(bytes.data()),
                        static_cast<DWORD>(bytes.size()));
}

long Win32Registry::deleteValue(reg::Key key, const std::string& name) {
  return RegDeleteValueA(toHkey(key), ansiName(name).c_str());
}

long Win32Registry::deleteKey(reg::Key key, const std::string& subKey) {
  return RegDeleteKeyA(toHkey(key), ansiName(subKey).c_str());
}

long Win32Registry::shellDeleteKey(reg::Key key, const std::string& subKey) {
  using ShDeleteKeyA = DWORD(WINAPI*)(HKEY, LPCSTR);
  if (!shellBound_) {
    shellBound_ = true;
    if (HMODULE shlwapi = LoadLibraryA("shlwapi.dll"))
      shDeleteKey_ = std::bit_cast<Procedure>(GetProcAddress(shlwapi, "SHDeleteKeyA"));
  }
  if (!shDeleteKey_) return ERROR_PROC_NOT_FOUND;
  const auto call = std::bit_cast<ShDeleteKeyA>(shDeleteKey_);
  return static_cast<long>(call(toHkey(key), ansiName(subKey).c_str()));
}

}  // namespace vcit::platform
