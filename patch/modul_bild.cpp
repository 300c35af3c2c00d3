#include "patch/modul_bild.h"

#include <algorithm>

#include "patch/module_dialogs.h"

namespace {

// Title bar and margins around the port rows.
constexpr int kFrameHeight = 25;
constexpr int kMinimumRows = 2;

}  // namespace

// The dialog stores the title and tells the view; placing it marks the document changed.
void TModulBild::ShowProperties() { OpenModuleDialog(kNameDialog, *this); }

void TModulBild::ShowHelp() {
  if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowHelp(0);
}

SModulePicture TModulBild::PanelPicture() const { return {}; }

int TModulBild::CentredPictureTop() const {
  return (Rect->bottom->value - Rect->top->value - 14) / 2 - 2;
}

int TModulBild::HeightForRows(int rows) {
  return kFrameHeight + TEinAusgangListe::kPortSpacing * rows;
}

void TModulBild::SetHeightAndLayOut(int rows) {
  Rect->bottom->value = Rect->top->value + HeightForRows(rows);
  PropertyChanged(Rect.get());
  InputList->Layout();
  OutputList->Layout();
  Announce(TListChangeKind::PortsChanged);
}

void TModulBild::ResizeToPorts() { SetHeightAndLayOut(InputList->Count()); }

void TModulBild::ResizeToAllPorts() {
  if (!IsShown()) return;
  SetHeightAndLayOut(std::max({InputList->Count(), OutputList->Count(), kMinimumRows}));
}
