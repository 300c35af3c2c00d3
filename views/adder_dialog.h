// The adder dialog: the title, and one undo step that adds one to three inputs or removes as
// many unconnected ones, never leaving fewer than two inputs.
#pragma once

#include <array>

#include "modules/mixers.h"
#include "views/module_dialog.h"

class QRadioButton;
class QToolButton;

class TAddiererForm : public TModuleDialog {
 public:
  explicit TAddiererForm(TAddierer& adder);

  // Adds or removes the chosen number of inputs as one undo step, then stores the title.
  bool Accept() override;

 private:
  // Only as many inputs as can go are offered; "1" becomes the choice.
  void RadioButtonRemoveClick();
  void RadioButtonNewClick();
  int ChosenCount() const;

  TAddierer& adder_;
  const int removable_;
  QLineEdit* EditName;
  QRadioButton* RadioButtonNew;
  QRadioButton* RadioButtonRemove;
  std::array<QToolButton*, 3> SpeedButtons;
};

void AddAdderDialogs(TModuleDialogOpeners& openers);
