#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/dynamic_value.h"

namespace vcit {

// Value name to value, names compared without regard to letter case, in insertion order.
class ValueCache {
 public:
  // How names compare when case is ignored: below zero, zero or above zero (a strict weak
  // order), the system's own comparison.
  using Compare = std::function<int(const std::string&, const std::string&)>;
  explicit ValueCache(Compare compare) : index_(Less{std::move(compare)}) {}

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
  struct Less {
    Compare compare;
    bool operator()(const std::string& a, const std::string& b) const { return compare(a, b) < 0; }
  };
  std::vector<std::string> names_;
  std::vector<DynamicValue> values_;
  std::map<std::string, std::size_t, Less> index_;  // name as first stored -> position
};

}  // namespace vcit
