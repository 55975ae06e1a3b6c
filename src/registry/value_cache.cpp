#include "registry/value_cache.h"

#include "core/runtime_error.h"

namespace vcit {

bool ValueCache::Exists(const std::string& name) const {
  return index_.count(name) != 0;
}

const DynamicValue& ValueCache::Item(const std::string& name) const {
  const auto it = index_.find(name);
  if (it == index_.end()) raise(err::kInvalidProcedureCall);
  return values_[it->second];
}

void ValueCache::SetItem(const std::string& name, DynamicValue value) {
  const auto [it, inserted] = index_.emplace(name, names_.size());
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
