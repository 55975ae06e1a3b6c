#include "platform/fake/fake_registry.h"

#include <algorithm>

#include "core/text.h"

namespace vcit::platform {
namespace {

constexpr std::uint32_t kQueryValue = 0x0001;
constexpr std::uint32_t kSetValue = 0x0002;
constexpr std::uint32_t kCreateSubKey = 0x0004;
constexpr std::uint32_t kEnumerateSubKeys = 0x0008;
constexpr std::uint32_t kDelete = 0x10000;
constexpr std::uint32_t kGenericRead = 0x80000000u;
constexpr std::uint32_t kGenericWrite = 0x40000000u;
constexpr std::uint32_t kGenericAll = 0x10000000u;
constexpr std::uint32_t kMaximumAllowed = 0x02000000u;
constexpr std::uint32_t kKeyWrite = 0x20006;

// Generic rights stand for the key rights Windows maps them to.
std::uint32_t mapGeneric(std::uint32_t access) {
  std::uint32_t mapped = access & 0x00FFFFFFu & ~kMaximumAllowed;
  if (access & kGenericRead) mapped |= reg::kKeyRead;
  if (access & kGenericWrite) mapped |= kKeyWrite;
  if (access & (kGenericAll | kMaximumAllowed)) mapped |= reg::kKeyAllAccess;
  return mapped;
}

// Bytes the data takes in the (single-byte) code page: one per character for text.
std::uint32_t dataSize(std::uint32_t type, const std::string& data) {
  return static_cast<std::uint32_t>(reg::isTextType(type) ? text::length(data) : data.size());
}

std::uint32_t nameLength(const std::string& name) {
  return static_cast<std::uint32_t>(text::length(name));
}

// The components of a path; false for a path that starts with a backslash.
bool splitPath(const std::string& path, std::vector<std::string>& parts) {
  if (!path.empty() && path[0] == '\\') return false;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

}  // namespace

struct FakeRegistry::Node {
  std::string name;  // as created
  std::uint32_t root = 0;
  std::string foldedPath;  // below the root, folded, components joined with '\'
  std::weak_ptr<Node> parent;
  std::vector<std::shared_ptr<Node>> subkeys;               // in folded-name order
  std::vector<std::pair<std::string, StoredValue>> values;  // in creation order
  bool deleted = false;

  std::shared_ptr<Node> child(const std::string& childName) const {
    for (const auto& k : subkeys)
      if (text::equalsIgnoreCase(k->name, childName)) return k;
    return nullptr;
  }
  void markDeleted() {
    deleted = true;
    for (const auto& k : subkeys) k->markDeleted();
  }
  StoredValue* findValue(const std::string& valueName) {
    for (auto& [n, v] : values)
      if (text::equalsIgnoreCase(n, valueName)) return &v;
    return nullptr;
  }
};

FakeRegistry::FakeRegistry() {
  for (std::uint32_t r = reg::kClassesRoot; r <= reg::kUsers; ++r) {
    auto node = std::make_shared<Node>();
    node->root = r;
    roots_[r] = node;
  }
}

FakeRegistry::~FakeRegistry() = default;

void FakeRegistry::count(const char* function) {
  ++calls_[function];
}

int FakeRegistry::calls(const std::string& function) const {
  const auto it = calls_.find(function);
  return it == calls_.end() ? 0 : it->second;
}

int FakeRegistry::totalCalls() const {
  int n = 0;
  for (const auto& [name, c] : calls_) n += c;
  return n;
}

void FakeRegistry::refuse(std::uint32_t root, const std::string& path, std::uint32_t rights) {
  std::vector<std::string> parts;
  splitPath(path, parts);
  std::string folded;
  for (const auto& p : parts) folded += (folded.empty() ? "" : "\\") + text::foldCase(p);
  refusals_.push_back({root, folded, rights});
}

std::optional<std::uint32_t> FakeRegistry::rootOf(reg::Key key) const {
  // A predefined root is a 32-bit value; a 64-bit caller may pass it sign-extended.
  if ((key >> 32) == 0xFFFFFFFFu) key &= 0xFFFFFFFFu;
  if (key >= reg::kClassesRoot && key <= reg::kUsers) return static_cast<std::uint32_t>(key);
  return std::nullopt;
}

long FakeRegistry::resolve(reg::Key key, std::shared_ptr<Node>& node, std::uint32_t& access) const {
  if (const auto root = rootOf(key)) {
    node = roots_.at(*root);
    access = reg::kKeyAllAccess;
    return reg::kSuccess;
  }
  const auto it = handles_.find(key);
  if (it == handles_.end()) return reg::kInvalidHandle;
  if (it->second.node->deleted) return kKeyDeleted;
  node = it->second.node;
  access = it->second.access;
  return reg::kSuccess;
}

bool FakeRegistry::allowed(std::uint32_t have, std::uint32_t need) const {
  return ignoreAccess || (have & need) == need;
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::find(std::uint32_t root,
                                                       const std::string& path) const {
  std::vector<std::string> parts;
  if (!splitPath(path, parts)) return nullptr;
  const auto it = roots_.find(root);
  if (it == roots_.end()) return nullptr;
  std::shared_ptr<Node> node = it->second;
  for (const auto& p : parts) {
    node = node->child(p);
    if (!node) return nullptr;
  }
  return node;
}

long FakeRegistry::open(reg::Key root, const std::string& path, std::uint32_t access, bool create,
                        reg::Key& result) {
  result = 0;
  requestedAccess_.push_back(access);
  std::shared_ptr<Node> node;
  std::uint32_t baseAccess = 0;
  if (const long status = resolve(root, node, baseAccess); status != reg::kSuccess) return status;
  std::vector<std::string> parts;
  if (!splitPath(path, parts)) return kBadPathname;

  // Walk as far as the path exists; the rest is created (or the open fails).
  std::size_t existing = 0;
  std::shared_ptr<Node> target = node;
  while (existing < parts.size()) {
    auto next = target->child(parts[existing]);
    if (!next) break;
    target = next;
    ++existing;
  }
  const std::uint32_t mapped = mapGeneric(access);
  std::string foldedTarget = target->foldedPath;
  for (std::size_t i = existing; i < parts.size(); ++i)
    foldedTarget += (foldedTarget.empty() ? "" : "\\") + text::foldCase(parts[i]);
  for (const auto& r : refusals_) {
    if (r.root == node->root && r.path == foldedTarget &&
        (r.rights == 0 || (mapped & r.rights) != 0))
      return reg::kAccessDenied;
  }
  if (existing < parts.size()) {
    if (!create) return reg::kFileNotFound;
    if (existing == 0 && !allowed(baseAccess, kCreateSubKey)) return reg::kAccessDenied;
    for (std::size_t i = existing; i < parts.size(); ++i) {
      auto child = std::make_shared<Node>();
      child->name = parts[i];
      child->root = target->root;
      child->foldedPath =
          target->foldedPath + (target->foldedPath.empty() ? "" : "\\") + text::foldCase(parts[i]);
      child->parent = target;
      const std::string folded = text::foldCase(parts[i]);
      auto& subs = target->subkeys;
      const auto pos = std::find_if(subs.begin(), subs.end(), [&](const auto& k) {
        return text::foldCase(k->name) > folded;
      });
      subs.insert(pos, child);
      target = child;
    }
  }
  result = nextHandle_;
  nextHandle_ += 4;
  handles_[result] = Handle{target, mapped};
  return reg::kSuccess;
}

long FakeRegistry::createKey(reg::Key root, const std::string& path, const std::string&,
                             std::uint32_t, std::uint32_t access, reg::Key& result) {
  count("createKey");
  return open(root, path, access, true, result);
}

long FakeRegistry::openKey(reg::Key root, const std::string& path, std::uint32_t,
                           std::uint32_t access, reg::Key& result) {
  count("openKey");
  return open(root, path, access, false, result);
}

long FakeRegistry::closeKey(reg::Key key) {
  count("closeKey");
  if (rootOf(key)) return reg::kSuccess;
  return handles_.erase(key) ? reg::kSuccess : reg::kInvalidHandle;
}

long FakeRegistry::queryInfoKey(reg::Key key, KeyInfo& info) {
  count("queryInfoKey");
  std::shared_ptr<Node> node;
  std::uint32_t access = 0;
  if (const long status = resolve(key, node, access); status != reg::kSuccess) return status;
  if (!allowed(access, kQueryValue)) return reg::kAccessDenied;
  info = KeyInfo{};
  info.subKeys = static_cast<std::uint32_t>(node->subkeys.size());
  for (const auto& k : node->subkeys)
    info.maxSubKeyNameLength = std::max(info.maxSubKeyNameLength, nameLength(k->name));
  info.values = static_cast<std::uint32_t>(node->values.size());
  for (const auto& [name, v] : node->values) {
    info.maxValueNameLength = std::max(info.maxValueNameLength, nameLength(name));
    info.maxValueDataLength = std::max(info.maxValueDataLength, dataSize(v.type, v.data));
  }
  return reg::kSuccess;
}

Registry::Enumerated FakeRegistry::enumValue(reg::Key key, std::uint32_t index,
                                             std::uint32_t nameCapacity,
                                             std::uint32_t dataCapacity) {
  count("enumValue");
  Enumerated out;
  std::shared_ptr<Node> node;
  std::uint32_t access = 0;
  out.status = resolve(key, node, access);
  if (out.status != reg::kSuccess) return out;
  if (!allowed(access, kQueryValue)) {
    out.status = reg::kAccessDenied;
    return out;
  }
  if (index >= node->values.size()) {
    out.status = reg::kNoMoreItems;
    return out;
  }
  const auto& [name, v] = node->values[index];
  // The name needs room for its NUL; the data needs its full size.
  if (nameCapacity < nameLength(name) + 1 || dataCapacity < dataSize(v.type, v.data)) {
    out.status = reg::kMoreData;
    return out;
  }
  out.name = name;
  out.type = v.type;
  out.data = v.data;
  return out;
}

long FakeRegistry::enumKey(reg::Key key, std::uint32_t index, std::uint32_t nameCapacity,
                           std::string& name) {
  count("enumKey");
  std::shared_ptr<Node> node;
  std::uint32_t access = 0;
  if (const long status = resolve(key, node, access); status != reg::kSuccess) return status;
  if (!allowed(access, kEnumerateSubKeys)) return reg::kAccessDenied;
  if (index >= node->subkeys.size()) return reg::kNoMoreItems;
  const std::string& found = node->subkeys[index]->name;
  if (nameCapacity < nameLength(found) + 1) return reg::kMoreData;
  name = found;
  return reg::kSuccess;
}

Registry::Queried FakeRegistry::queryValue(reg::Key key, const std::string& name, bool withBuffer,
                                           std::uint32_t capacity) {
  count("queryValue");
  Queried out;
  std::shared_ptr<Node> node;
  std::uint32_t access = 0;
  out.status = resolve(key, node, access);
  if (out.status != reg::kSuccess) return out;
  if (!allowed(access, kQueryValue)) {
    out.status = reg::kAccessDenied;
    return out;
  }
  const StoredValue* v = node->findValue(name);
  if (!v) {
    out.status = reg::kFileNotFound;
    return out;
  }
  out.type = v->type;
  out.size = dataSize(v->type, v->data);
  if (withBuffer) {
    if (capacity < out.size) {
      out.status = reg::kMoreData;
      return out;
    }
    out.data = v->data;
  }
  return out;
}

long FakeRegistry::setValue(reg::Key key, const std::string& name, std::uint32_t type,
                            const std::string& data) {
  count("setValue");
  std::shared_ptr<Node> node;
  std::uint32_t access = 0;
  if (const long status = resolve(key, node, access); status != reg::kSuccess) return status;
  if (!allowed(access, kSetValue)) return reg::kAccessDenied;
  if (StoredValue* v = node->findValue(name)) {
    *v = StoredValue{type, data};
  } else {
    node->values.emplace_back(name, StoredValue{type, data});
  }
  return reg::kSuccess;
}

long FakeRegistry::deleteValue(reg::Key key, const std::string& name) {
  count("deleteValue");
  std::shared_ptr<Node> node;
  std::uint32_t access = 0;
  if (const long status = resolve(key, node, access); status != reg::kSuccess) return status;
  if (!allowed(access, kSetValue)) return reg::kAccessDenied;
  auto& values = node->values;
  const auto it = std::find_if(values.begin(), values.end(), [&](const auto& entry) {
    return text::equalsIgnoreCase(entry.first, name);
  });
  if (it == values.end()) return reg::kFileNotFound;
  values.erase(it);
  return reg::kSuccess;
}

long FakeRegistry::deleteKey(reg::Key key, const std::string& subKey) {
  count("deleteKey");
  std::shared_ptr<Node> base;
  std::uint32_t access = 0;
  if (const long status = resolve(key, base, access); status != reg::kSuccess) return status;
  const std::shared_ptr<Node> target = findBelow(*base, subKey);
  if (!target) return reg::kFileNotFound;
  if (!target->parent.lock()) return reg::kAccessDenied;  // a root
  for (const auto& r : refusals_)
    if (r.root == target->root && r.path == target->foldedPath &&
        (r.rights == 0 || (r.rights & kDelete) != 0))
      return reg::kAccessDenied;
  if (!target->subkeys.empty()) return reg::kAccessDenied;
  auto& siblings = target->parent.lock()->subkeys;
  siblings.erase(std::find(siblings.begin(), siblings.end(), target));
  target->markDeleted();
  return reg::kSuccess;
}

long FakeRegistry::shellDeleteKey(reg::Key key, const std::string& subKey) {
  count("shellDeleteKey");
  std::shared_ptr<Node> base;
  std::uint32_t access = 0;
  if (const long status = resolve(key, base, access); status != reg::kSuccess) return status;
  const std::shared_ptr<Node> target = findBelow(*base, subKey);
  if (!target) return reg::kFileNotFound;
  const auto parent = target->parent.lock();
  if (!parent) return reg::kAccessDenied;
  auto& siblings = parent->subkeys;
  siblings.erase(std::find(siblings.begin(), siblings.end(), target));
  target->markDeleted();
  return reg::kSuccess;
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::findBelow(const Node& base,
                                                            const std::string& subKey) const {
  if (!subKey.empty() && subKey[0] == '\\') return nullptr;
  return find(base.root, base.foldedPath.empty() ? subKey : base.foldedPath + "\\" + subKey);
}

bool FakeRegistry::keyExists(std::uint32_t root, const std::string& path) const {
  return find(root, path) != nullptr;
}

std::optional<FakeRegistry::StoredValue> FakeRegistry::value(std::uint32_t root,
                                                             const std::string& path,
                                                             const std::string& name) const {
  const auto node = find(root, path);
  if (!node) return std::nullopt;
  if (const StoredValue* v = node->findValue(name)) return *v;
  return std::nullopt;
}

}  // namespace vcit::platform
