// Keeps the group windows with the sound, from its change channel: it tells when a macro came
// into the sound (pasted, inserted, its deletion undone: its window may have to open again) or a
// module left it (the windows of macros that went with it close).
#pragma once

#include <functional>

#include "patch/list_changes.h"

class TDokumentKlang;

class TGroupWindowFollower : private TListObserver {
 public:
  explicit TGroupWindowFollower(std::function<void()> macrosChanged);
  ~TGroupWindowFollower() override;
  TGroupWindowFollower(const TGroupWindowFollower&) = delete;
  TGroupWindowFollower& operator=(const TGroupWindowFollower&) = delete;

  // Follows the changes of `document` (null: none) from now on.
  void Follow(TDokumentKlang* document);

 private:
  void ListChanged(const SListChange& change) override;

  std::function<void()> macrosChanged_;
  TDokumentKlang* document_ = nullptr;
};
