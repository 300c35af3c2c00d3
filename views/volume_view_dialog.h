// The volume view's dialog: the standard name dialog with "Visible in Panel", which tells
// whether the module keeps a level meter on the sound's panel.
#pragma once

#include "views/module_dialog.h"

class QCheckBox;
class TLautstaerkeSehenArbeiten;

class TVolumeViewDialog : public TStandardModulDialog {
 public:
  explicit TVolumeViewDialog(TLautstaerkeSehenArbeiten& module);

  // Stores the title and "ShowInView".
  bool Accept() override;

 private:
  TLautstaerkeSehenArbeiten& view_;
  QCheckBox* checkBoxVisible_;
};

// Adds the volume view's dialog and the scope window.
void AddScopeDialogs(TModuleDialogOpeners& openers);
