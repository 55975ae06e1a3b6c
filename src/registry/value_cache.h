#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/dynamic_value.h"

namespace vcit {

// Value name to value, names compared without regard to letter case, in insertion order.
class ValueCache {
 public:
  // A name with letter case taken out, the system's own: two names match exactly when their
  // folded forms are equal. Each name is folded once, as it enters or is looked up.
  using Fold = std::function<std::string(const std::string&)>;
  explicit ValueCache(Fold fold) : fold_(std::move(fold)) {}

  std::size_t Count() const { return names_.size(); }
  // The value of the entry of that name, or none.
  const DynamicValue* Find(const std::string& name) const;
  // Adds the entry, or replaces the value of the entry of that name (keeping its place and
  // the name as first stored).
  void SetItem(const std::string& name, DynamicValue value);
  const std::vector<std::string>& Keys() const { return names_; }
  const std::vector<DynamicValue>& Items() const { return values_; }
  void RemoveAll();

 private:
  Fold fold_;
  std::vector<std::string> names_;
  std::vector<DynamicValue> values_;
  std::unordered_map<std::string, std::size_t> index_;  // folded name -> position
};

}  // namespace vcit
