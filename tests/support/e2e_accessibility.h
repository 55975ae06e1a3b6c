#pragma once

// What a screen reader in another process reads of a window through MSAA
// (AccessibleObjectFromWindow on the window's client area). Windows only.

#ifdef _WIN32

#include <windows.h>

#include <oleacc.h>

#include <string>

namespace vcit::e2e {

// What an MSAA client reads of one object, each property as the client sees it.
struct AccessibleSeen {
  HRESULT result = E_FAIL;  // of AccessibleObjectFromWindow
  std::string name;
  long role = 0;
  std::string roleText;  // as GetRoleText words it
  long state = 0;
  std::string stateText;  // GetStateText of each state bit, joined by ", "
  std::string value;
  std::string shortcut;
};

// A reference to the client-area object of a window, held as a screen reader holds it. The
// calling thread must have COM (ComThread).
class AccessibleClient {
 public:
  explicit AccessibleClient(HWND hwnd);
  ~AccessibleClient();
  AccessibleClient(const AccessibleClient&) = delete;
  AccessibleClient& operator=(const AccessibleClient&) = delete;

  HRESULT result() const { return result_; }
  AccessibleSeen read() const;
  // get_accDescription, as a reader asks for it after the name.
  std::string description() const;
  // get_accName's own result, for an object whose window may be gone.
  HRESULT nameResult() const;

 private:
  HRESULT result_ = E_FAIL;
  IAccessible* object_ = nullptr;
};

// Reads a window's object once.
AccessibleSeen readAccessible(HWND hwnd);

// COM on the test's thread for the owner's lifetime.
class ComThread {
 public:
  ComThread();
  ~ComThread();
  ComThread(const ComThread&) = delete;
  ComThread& operator=(const ComThread&) = delete;

 private:
  HRESULT result_;
};

}  // namespace vcit::e2e

#endif  // _WIN32
