// The modules an activation walk has met, in the order it met them. Walks test membership at
// every wire, so the test takes constant time: a chain of n modules is walked in time and
// memory linear in n.
#pragma once

#include <cstddef>
#include <unordered_set>
#include <vector>

class TModulArbeiten;

class TModuleChain {
 public:
  // Appends `module` unless it is already in the chain.
  void Append(TModulArbeiten* module) {
    if (members_.insert(module).second) order_.push_back(module);
  }
  bool Contains(const TModulArbeiten* module) const { return members_.contains(module); }
  std::size_t Size() const { return order_.size(); }
  // Forgets every module appended after the first `size`, so that a walk that failed leaves
  // the chain as it found it.
  void TruncateTo(std::size_t size) {
    while (order_.size() > size) {
      members_.erase(order_.back());
      order_.pop_back();
    }
  }

  auto begin() const { return order_.begin(); }
  auto end() const { return order_.end(); }

 private:
  std::vector<TModulArbeiten*> order_;
  std::unordered_set<const TModulArbeiten*> members_;
};
