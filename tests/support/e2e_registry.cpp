#ifdef _WIN32

#include "support/e2e_registry.h"

#include <stdexcept>
#include <utility>

namespace vcit::e2e {

RegistryValue::RegistryValue(HKEY root, std::string key, std::string name)
    : root_(root), key_(std::move(key)), name_(std::move(name)) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return;
  keyExisted_ = true;
  DWORD size = 0;
  if (RegQueryValueExA(handle, name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
    data_.resize(size);
    RegQueryValueExA(handle, name_.c_str(), nullptr, &type_, reinterpret_cast<BYTE*>(data_.data()),
                     &size);
    data_.resize(size);
    existed_ = true;
  }
  RegCloseKey(handle);
}

RegistryValue::~RegistryValue() {
  if (existed_) {
    setRaw(type_, data_);
    return;
  }
  remove();
  if (!keyExisted_) RegDeleteKeyA(root_, key_.c_str());  // only when it is empty again
}

void RegistryValue::setRaw(DWORD type, const std::string& bytes) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create registry key " + key_);
  RegSetValueExA(handle, name_.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
  RegCloseKey(handle);
}

void RegistryValue::setString(const std::string& text) {
  setRaw(REG_SZ, text + std::string(1, '\0'));
}

void RegistryValue::setDword(std::uint32_t number) {
  setRaw(REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number));
}

void RegistryValue::remove() {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) return;
  RegDeleteValueA(handle, name_.c_str());
  RegCloseKey(handle);
}

}  // namespace vcit::e2e

#endif  // _WIN32
