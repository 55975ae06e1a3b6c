#include "registry/value_cache.h"

namespace vcit {

const DynamicValue* ValueCache::Find(const std::string& name) const {
  const auto it = index_.find(fold_(name));
  return it == index_.end() ? nullptr : &values_[it->second];
}

void ValueCache::SetItem(const std::string& name, DynamicValue value) {
  const auto [it, inserted] = index_.emplace(fold_(name), names_.size());
  if (inserted) {
    names_.push_back(name);
    values_.push_back(std::move(value));
  } else {
    values_[it->second] = std::move(value);
  }
}

void ValueCache::RemoveAll() {
  names_.clear();
  values_.clear();
  index_.clear();
}

}  // namespace vcit
