// The constant dialog: title, lower and upper limit in display units with the widest bounds
// beside them, and whether the constant shows a fader on the sound's panel.
#pragma once

#include "modules/constants.h"
#include "views/module_dialog.h"

class QCheckBox;

class TKonstantenDialog : public TModuleDialog {
 public:
  explicit TKonstantenDialog(TBasisKonstanten& constant);

  // The limits' four checks (TBasisKonstanten::AcceptDialog) with their message, then the limits,
  // the clamped value, the title and the panel fader.
  bool Accept() override;

 private:
  TBasisKonstanten& constant_;
  QLineEdit* EditName;
  QLineEdit* MaskEditUntererWert;
  QLineEdit* MaskEditObererWert;
  QCheckBox* CheckBoxVisibleView;
};

void AddConstantDialogs(TModuleDialogOpeners& openers);
