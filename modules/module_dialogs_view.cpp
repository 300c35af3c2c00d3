#include "modules/module_dialogs_view.h"

#include "modules/device_dialog_view.h"
#include "modules/scope_dialogs_view.h"
#include "patch/module_dialog_view.h"

namespace {

TModuleDialogOpeners AllOpeners() {
  TModuleDialogOpeners openers;
  AddStandardDialogs(openers);
  AddDeviceDialogs(openers);
  AddScopeDialogs(openers);
  return openers;
}

}  // namespace

const TModuleDialogOpeners& CatalogueDialogOpeners() {
  static const TModuleDialogOpeners openers = AllOpeners();
  return openers;
}
