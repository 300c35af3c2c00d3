#include "views/resolution_dialog.h"

#include <QComboBox>

#include "platform/text_codec.h"

TResolutionDialog::TResolutionDialog(TAufloesung& module)
    : TStandardModulDialog(module), module_(module), ComboBoxResolution(new QComboBox) {
  ComboBoxResolution->setObjectName(QStringLiteral("ComboBoxResolution"));
  for (const std::string& choice : TAufloesung::Choices())
    ComboBoxResolution->addItem(FromFileText(choice));
  ComboBoxResolution->setCurrentIndex(module.Bits());
  ComboBoxResolution->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  AddRow(QStringLiteral("Resolution"), InOneLine({ComboBoxResolution}), ComboBoxResolution);
}

bool TResolutionDialog::Accept() {
  TStandardModulDialog::Accept();
  module_.SetBits(ComboBoxResolution->currentIndex());
  return true;
}

void AddResolutionDialogs(TModuleDialogOpeners& openers) {
  AddModuleDialog<TResolutionDialog, TAufloesung>(openers, std::string(TAufloesung::kDialog));
}
