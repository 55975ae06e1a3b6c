#pragma once

// Registry values set for an end-to-end test and put back afterwards. Windows only.

#ifdef _WIN32

#include <windows.h>

#include <cstdint>
#include <string>

namespace vcit::e2e {

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

}  // namespace vcit::e2e

#endif  // _WIN32
