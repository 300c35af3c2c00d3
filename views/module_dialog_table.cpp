#include "views/module_dialog_table.h"

#include "views/adder_dialog.h"
#include "views/constant_dialog.h"
#include "views/delay_dialog.h"
#include "views/device_dialog.h"
#include "views/keyboard_dialog.h"
#include "views/max_value_dialog.h"
#include "views/module_dialog.h"
#include "views/resolution_dialog.h"
#include "views/start_random_dialog.h"
#include "views/volume_view_dialog.h"
#include "views/wavetable_editor.h"

namespace {

TModuleDialogOpeners AllOpeners() {
  TModuleDialogOpeners openers;
  AddStandardDialogs(openers);
  AddConstantDialogs(openers);
  AddStartRandomDialogs(openers);
  AddWavetableDialogs(openers);
  AddAdderDialogs(openers);
  AddResolutionDialogs(openers);
  AddKeyboardDialogs(openers);
  AddMaxValueDialogs(openers);
  AddDelayDialogs(openers);
  AddDeviceDialogs(openers);
  AddScopeDialogs(openers);
  return openers;
}

}  // namespace

const TModuleDialogOpeners& CatalogueDialogOpeners() {
  static const TModuleDialogOpeners openers = AllOpeners();
  return openers;
}
