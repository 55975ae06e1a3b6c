#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "core/dynamic_value.h"

namespace vcit {

// Value name to value, names compared without regard to letter case, in insertion order.
class ValueCache {
 public:
  std::size_t Count() const { return names_.size(); }
  bool Exists(const std::string& name) const;
  // The value of an existing entry (error 5 when there is none).
  const DynamicValue& Item(const std::string& name) const;
  // Adds the entry, or replaces the value of the entry of that name (keeping its place and
  // the name as first stored).
  void SetItem(const std::string& name, DynamicValue value);
  const std::vector<std::string>& Keys() const { return names_; }
  const std::vector<DynamicValue>& Items() const { return values_; }
  void RemoveAll();

 private:
  std::vector<std::string> names_;
  std::vector<DynamicValue> values_;
  std::unordered_map<std::string, std::size_t> index_;  // folded name -> position
};

}  // namespace vcit
