#include "views/start_random_dialog.h"

#include <QCheckBox>

TStartRandomDialog::TStartRandomDialog(TGenerator& generator)
    : TStandardModulDialog(generator),
      startRandom_(*generator.RandomStartFlag()),
      CheckBoxStartRandom(new QCheckBox(QStringLiteral("Start Random"))) {
  CheckBoxStartRandom->setObjectName(QStringLiteral("CheckBoxStartRandom"));
  CheckBoxStartRandom->setChecked(startRandom_.value == 1);
  AddBelow(CheckBoxStartRandom, true);
}

bool TStartRandomDialog::Accept() {
  TStandardModulDialog::Accept();
  startRandom_.value = CheckBoxStartRandom->isChecked() ? 1 : 0;
  return true;
}

void AddStartRandomDialogs(TModuleDialogOpeners& openers) {
  openers.Add(std::string(TStandardGenerator::kDialog), [](TModulBild& module) {
    auto* generator = dynamic_cast<TGenerator*>(&module);
    if (generator == nullptr || generator->RandomStartFlag() == nullptr) return false;
    TStartRandomDialog form(*generator);
    return ShowModuleDialog(module, form, true);
  });
}
