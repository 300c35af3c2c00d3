// The name dialog of the sine, saw, triangle and FM oscillators, with "Start Random" below the
// title.
#pragma once

#include "modules/generators.h"
#include "views/module_dialog.h"

class QCheckBox;

class TStartRandomDialog : public TStandardModulDialog {
 public:
  explicit TStartRandomDialog(TGenerator& generator);

  // The title and the flag; the flag applies from the next sound start.
  bool Accept() override;

 private:
  TPropInteger& startRandom_;
  QCheckBox* CheckBoxStartRandom;
};

void AddStartRandomDialogs(TModuleDialogOpeners& openers);
