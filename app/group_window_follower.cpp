#include "app/group_window_follower.h"

#include "patch/dokument_klang.h"
#include "patch/macro_modules.h"

TGroupWindowFollower::TGroupWindowFollower(std::function<void()> macrosChanged)
    : macrosChanged_(std::move(macrosChanged)) {}

TGroupWindowFollower::~TGroupWindowFollower() { Follow(nullptr); }

void TGroupWindowFollower::Follow(TDokumentKlang* document) {
  if (document_ != nullptr) document_->SoundChanges().Unsubscribe(*this);
  document_ = document;
  if (document_ != nullptr) document_->SoundChanges().Subscribe(*this);
}

void TGroupWindowFollower::ListChanged(const SListChange& change) {
  const bool macroCame = change.kind == TListChangeKind::ModuleAdded &&
                         dynamic_cast<const TModulKomponent*>(change.subject) != nullptr;
  if (macroCame || change.kind == TListChangeKind::ModuleRemoved) macrosChanged_();
}
