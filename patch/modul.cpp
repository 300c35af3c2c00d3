#include "patch/modul.h"

#include "patch/dokument_klang.h"
#include "patch/module_list.h"

TModul::TModul()
    : Marked(std::make_shared<TPropInteger>(0)),
      Rect(std::make_shared<TPropRect>(kDefaultRect.left, kDefaultRect.top, kDefaultRect.right,
                                       kDefaultRect.bottom)),
      Title(std::make_shared<TPropString>()) {
  Add("Marked", Marked);
  Add("Rect", Rect);
  Add("Title", Title);
}

void TModul::CreatePanel(TModuleCanvas* owner, int mode) {
  Panel.reset();
  if (owner == nullptr) return;
  Panel = owner->CreateModuleView(*this, mode != kPanelSample);
  if (mode == kPanelSample) Marked->value = 1;
  if (Panel) Panel->PropertyChanged(nullptr);
}

void TModul::PropertyChanged(const TPropTyp* property) {
  if (Panel) Panel->PropertyChanged(property);
}

TModuleListe* TModul::OwnerList() const { return dynamic_cast<TModuleListe*>(parent); }

TDokumentKlang* TModul::FindDocument() const { return FindAncestor<TDokumentKlang>(); }

void TModul::SelectOnly() {
  if (TModuleListe* list = OwnerList()) list->MarkInRect(-1, -1, -1, -1, false);
  SetMarked(true);
}

void TModul::MarkChanged() {
  if (TDokumentKlang* document = FindDocument()) document->MarkChanged();
}

void TModul::RestartSound() {
  if (TDokumentKlang* document = FindDocument()) document->RestartSound(true);
}

void TModul::SetMarked(bool marked) {
  Marked->value = marked ? 1 : 0;
  PropertyChanged(Marked.get());
}
