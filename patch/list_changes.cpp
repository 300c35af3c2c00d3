#include "patch/list_changes.h"

#include <algorithm>

void TListChanges::Subscribe(TListObserver& observer) {
  if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end())
    observers_.push_back(&observer);
}

void TListChanges::Unsubscribe(const TListObserver& observer) { std::erase(observers_, &observer); }

void TListChanges::Announce(const SListChange& change) const {
  if (observers_.empty()) return;
  // A copy, since an observer may subscribe or leave in its handler; one that left is skipped.
  const std::vector<TListObserver*> observers = observers_;
  for (TListObserver* observer : observers) {
    if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end())
      observer->ListChanged(change);
  }
}
