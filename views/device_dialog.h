// The device dialogs of the speakers, the microphone and the MIDI input: the standard name
// dialog with "Use Default Device" and a list of the kind's devices by name, one of them
// checked. The list shows the devices that open with the module's format and the chosen one;
// following the default device greys it.
#pragma once

#include "views/module_dialog.h"

class QCheckBox;
class QListWidget;
class TGeraetModul;

class TDeviceDialog : public TStandardModulDialog {
 public:
  explicit TDeviceDialog(TGeraetModul& module);

  // Stores the title, whether the module follows the default device and the checked device.
  bool Accept() override;
  // The device of the checked row; -1 when none is.
  int Selection() const { return selection_; }

 private:
  // Lists the devices again with only the selection's row checked.
  void RebuildList();
  void CheckBoxDefaultClick();
  // A row was checked or unchecked: its device becomes the selection, or none.
  void ListItemChanged(int device, bool checked);

  TGeraetModul& device_;
  QCheckBox* checkBoxDefault_;
  QListWidget* list_;
  int selection_;
};

// Adds the speaker and microphone dialog and the MIDI input window.
void AddDeviceDialogs(TModuleDialogOpeners& openers);
