#include "patch/modul.h"

#include "patch/patch_host.h"

TModul::TModul()
    : Marked(std::make_shared<TPropInteger>(0)),
      Rect(std::make_shared<TPropRect>(kDefaultRect.left, kDefaultRect.top, kDefaultRect.right,
                                       kDefaultRect.bottom)),
      Title(std::make_shared<TPropString>()) {
  Add("Marked", Marked);
  Add("Rect", Rect);
  Add("Title", Title);
}

void TModul::CreatePanel(TModuleCanvasInterface* owner, int mode) {
  shownMode_ = owner == nullptr ? -1 : mode;
  if (owner != nullptr && mode == kPanelSample) Marked->value = 1;
}

void TModul::PropertyChanged(const TPropTyp* property) {
  Announce(TListChangeKind::ModuleChanged, property);
}

TPatchHost* TModul::Host() const { return dynamic_cast<TPatchHost*>(parent); }

void TModul::Announce(TListChangeKind kind, const TPropTyp* property) {
  TPatchHost* host = Host();
  if (host == nullptr) return;
  SListChange change(kind, host->ModuleKey(*this), this);
  change.property = property;
  host->Announce(change);
}

void TModul::SelectOnly() {
  if (TPatchHost* host = Host()) host->UnmarkAll();
  SetMarked(true);
}

void TModul::MarkChanged() {
  if (TPatchHost* host = Host()) host->MarkDocumentChanged();
}

void TModul::RestartSound() {
  if (TPatchHost* host = Host()) host->RestartDocument(true);
}

void TModul::SetMarked(bool marked) {
  Marked->value = marked ? 1 : 0;
  PropertyChanged(Marked.get());
}
