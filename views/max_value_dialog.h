// The MIDI controllers' name dialog, with the largest output value. A value out of range is
// refused with "Fault Pitchbend" and the dialog is offered again with the stored values.
#pragma once

#include "modules/midi.h"
#include "views/module_dialog.h"

class TMaxValueDialog : public TStandardModulDialog {
 public:
  explicit TMaxValueDialog(TMidiController& controller);

  // Checks the value (CheckMaxValue); a refused value changes nothing, the title included.
  bool Accept() override;

 private:
  TMidiController& controller_;
  QLineEdit* EditMaxValue;
};

void AddMaxValueDialogs(TModuleDialogOpeners& openers);
