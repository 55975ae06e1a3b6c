// One launcher per folder also when the launchers run with other rights: a standard user's
// start finds the objects of a launcher run elevated, which Windows makes by default with the
// elevated token's access rules (Administrators and SYSTEM only), and opens no second window.
#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/win32/scoped_win.h"
#include "platform/win32/single_instance.h"

namespace vcit::platform::win32 {
namespace {

// This process's token as Windows makes it for a standard user's logon of an administrator:
// the Administrators group only to deny.
UniqueHandle standardUserToken() {
  HANDLE process = nullptr, token = nullptr, acting = nullptr;
  OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &process);
  const UniqueHandle own(process);
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof administrators;
  CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size);
  SID_AND_ATTRIBUTES denyOnly{administrators, 0};
  EXPECT_TRUE(CreateRestrictedToken(own.get(), 0, 1, &denyOnly, 0, nullptr, 0, nullptr, &token));
  const UniqueHandle restricted(token);
  EXPECT_TRUE(DuplicateTokenEx(restricted.get(), TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation,
                               TokenImpersonation, &acting));
  return UniqueHandle(acting);
}

// The calling thread acts with the token until this goes away.
class ActingAs {
 public:
  explicit ActingAs(const UniqueHandle& token) {
    EXPECT_TRUE(SetThreadToken(nullptr, token.get()));
  }
  ~ActingAs() { RevertToSelf(); }
  ActingAs(const ActingAs&) = delete;
  ActingAs& operator=(const ActingAs&) = delete;
};

// A launcher run elevated (this process's token under Wine has the Administrators group), on
// a thread of its own (a mutex belongs to a thread): it makes its objects and holds them until
// it goes away.
class ElevatedLauncher {
 public:
  explicit ElevatedLauncher(std::function<std::shared_ptr<void>()> makeObjects)
      : thread_([this, makeObjects] {
          const std::shared_ptr<void> objects = makeObjects();
          SetEvent(ready_.get());
          WaitForSingleObject(done_.get(), 20000);
        }) {
    WaitForSingleObject(ready_.get(), 10000);
  }
  ~ElevatedLauncher() {
    SetEvent(done_.get());
    thread_.join();
  }
  ElevatedLauncher(const ElevatedLauncher&) = delete;
  ElevatedLauncher& operator=(const ElevatedLauncher&) = delete;

 private:
  UniqueHandle ready_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  UniqueHandle done_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::thread thread_;
};

TEST(SingleInstanceTest, AStandardUsersStartEndsWhileALauncherRunsElevated) {
  const HWND window = CreateWindowExW(0, L"STATIC", L"elevated", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  const HWND elsewhere =
      CreateWindowExW(0, L"STATIC", L"elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 0, 200,
                      100, nullptr, nullptr, nullptr, nullptr);
  const std::wstring name =
      L"Local\\vcit-single-instance-test-" + std::to_wstring(GetCurrentProcessId()) + L"-";
  struct Case {
    const char* made;
    bool byThisBuild;
  };
  int round = 0;
  for (const Case& c :
       {Case{"as an earlier build made them", false}, Case{"as this build makes them", true}}) {
    SCOPED_TRACE(c.made);
    const std::wstring objects = name + std::to_wstring(++round);
    const ElevatedLauncher elevated([&]() -> std::shared_ptr<void> {
      if (c.byThisBuild) {
        auto instance = std::make_shared<SingleInstance>(objects);
        EXPECT_TRUE(instance->claim(0));
        instance->publish(window);
        return instance;
      }
      // Windows gives an elevated token's objects these rules (Wine gives none by default).
      PSECURITY_DESCRIPTOR rules = nullptr;
      EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
          L"D:(A;;GA;;;BA)(A;;GA;;;SY)", SDDL_REVISION_1, &rules, nullptr));
      const UniqueLocal freed(rules);
      SECURITY_ATTRIBUTES elevatedRules{sizeof elevatedRules, rules, FALSE};
      auto handles = std::make_shared<std::pair<UniqueHandle, UniqueHandle>>(
          CreateMutexW(&elevatedRules, TRUE, objects.c_str()),
          CreateFileMappingW(INVALID_HANDLE_VALUE, &elevatedRules, PAGE_READWRITE, 0, 16,
                             (objects + L".window").c_str()));
      EXPECT_TRUE(handles->first && handles->second);
      return handles;
    });
    SetForegroundWindow(elsewhere);

    const ActingAs standardUser(standardUserToken());
    if (!c.byThisBuild) {
      ASSERT_EQ(CreateMutexW(nullptr, FALSE, objects.c_str()), nullptr) << "not refused";
      ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    SingleInstance second(objects);
    EXPECT_FALSE(second.claim(200)) << "a second launcher of the folder started";
    // Where the block can be read, the elevated launcher's window is brought forward.
    EXPECT_EQ(GetForegroundWindow() == window, c.byThisBuild);
  }
  DestroyWindow(elsewhere);
  DestroyWindow(window);
}

}  // namespace
}  // namespace vcit::platform::win32
