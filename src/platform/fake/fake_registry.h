#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_api.h"

namespace vcit::platform {

// An in-memory registry with the observable behaviour of the Win32 "A" functions:
// - the predefined roots HKEY_CLASSES_ROOT .. HKEY_USERS (also in their sign-extended 64-bit
//   form) are always open and never closed;
// - key and value names match without regard to letter case and keep the spelling they were
//   created with;
// - values enumerate in creation order (as Windows does; Wine sorts them by name), subkeys in
//   name order ignoring case;
// - text data (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) is UTF-8 here and counts one byte per
//   character, as in a single-byte code page; the data is kept exactly as written, NULs
//   included, so a writer that leaves out a NUL is seen;
// - handles carry the access they were opened with, and calls need the rights Windows asks for
//   (KEY_QUERY_VALUE to query and enumerate values, KEY_ENUMERATE_SUB_KEYS for subkeys,
//   KEY_SET_VALUE to write and delete values, KEY_CREATE_SUB_KEY to create a subkey);
// - a handle of a key deleted meanwhile gives ERROR_KEY_DELETED.
class FakeRegistry : public Registry {
 public:
  static constexpr long kBadPathname = 161;
  static constexpr long kKeyDeleted = 1018;

  FakeRegistry();
  ~FakeRegistry() override;

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

  // --- Test hooks -------------------------------------------------------------------------

  // Windows 9x ignores access masks; off by default (NT behaviour).
  bool ignoreAccess = false;

  // Opening or creating root\path with an access mask that shares a bit with `rights` fails
  // with ERROR_ACCESS_DENIED (nothing is created). `rights` 0 refuses every open of the key.
  void refuse(std::uint32_t root, const std::string& path, std::uint32_t rights);

  // How often each function was called ("createKey", "enumValue", ...), and all calls.
  int calls(const std::string& function) const;
  int totalCalls() const;
  // The access masks passed to createKey and openKey, in call order.
  const std::vector<std::uint32_t>& requestedAccess() const { return requestedAccess_; }
  // Handles currently open (predefined roots not counted).
  std::size_t openHandles() const { return handles_.size(); }

  struct StoredValue {
    std::uint32_t type = 0;
    std::string data;
  };
  // Direct views of the tree, bypassing handles and counters.
  bool keyExists(std::uint32_t root, const std::string& path) const;
  std::optional<StoredValue> value(std::uint32_t root, const std::string& path,
                                   const std::string& name) const;

 private:
  struct Node;
  struct Handle {
    std::shared_ptr<Node> node;
    std::uint32_t access = 0;
  };
  struct Refusal {
    std::uint32_t root;
    std::string path;  // folded, without empty components
    std::uint32_t rights;
  };

  void count(const char* function);
  // The node a handle or predefined root stands for; status 0, ERROR_INVALID_HANDLE or
  // ERROR_KEY_DELETED. `access` receives the handle's rights (all for a root).
  long resolve(reg::Key key, std::shared_ptr<Node>& node, std::uint32_t& access) const;
  bool allowed(std::uint32_t have, std::uint32_t need) const;
  long open(reg::Key root, const std::string& path, std::uint32_t access, bool create,
            reg::Key& result);
  std::shared_ptr<Node> find(std::uint32_t root, const std::string& path) const;
  std::shared_ptr<Node> findBelow(const Node& base, const std::string& subKey) const;
  std::optional<std::uint32_t> rootOf(reg::Key key) const;

  std::map<std::uint32_t, std::shared_ptr<Node>> roots_;
  std::map<reg::Key, Handle> handles_;
  reg::Key nextHandle_ = 0x1000;
  std::map<std::string, int> calls_;
  std::vector<std::uint32_t> requestedAccess_;
  std::vector<Refusal> refusals_;
};

}  // namespace vcit::platform
