// The delay's name dialog, with the delay time in milliseconds. A time out of range is refused
// with "Fault Delay" and the dialog is offered again with the stored values.
#pragma once

#include "modules/delay.h"
#include "views/module_dialog.h"

class TDelayDialog : public TStandardModulDialog {
 public:
  explicit TDelayDialog(TDelay& delay);

  // Checks the time (CheckDelayTime); a refused time changes nothing, the title included.
  bool Accept() override;

 private:
  TDelay& delay_;
  QLineEdit* EditTime;
};

void AddDelayDialogs(TModuleDialogOpeners& openers);
