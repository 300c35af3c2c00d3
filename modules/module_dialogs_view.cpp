#include "modules/module_dialogs_view.h"

#include "modules/adder_dialog_view.h"
#include "modules/constant_dialog_view.h"
#include "modules/delay_dialog_view.h"
#include "modules/device_dialog_view.h"
#include "modules/keyboard_dialog_view.h"
#include "modules/max_value_dialog_view.h"
#include "modules/resolution_dialog_view.h"
#include "modules/scope_dialogs_view.h"
#include "modules/start_random_dialog_view.h"
#include "modules/wavetable_editor_view.h"
#include "patch/module_dialog_view.h"

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
