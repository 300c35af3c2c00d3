// The resolution module's name dialog, with the choice of how many low bits to clear.
#pragma once

#include "modules/mixers.h"
#include "views/module_dialog.h"

class QComboBox;

class TResolutionDialog : public TStandardModulDialog {
 public:
  explicit TResolutionDialog(TAufloesung& module);

  // The title and the choice; a playing sound restarts with the new mask.
  bool Accept() override;

 private:
  TAufloesung& module_;
  QComboBox* ComboBoxResolution;
};

void AddResolutionDialogs(TModuleDialogOpeners& openers);
