#include "patch/module_dialogs.h"

namespace {

TModuleDialogs* installedDialogs = nullptr;

}  // namespace

TModuleDialogs* ModuleDialogs() { return installedDialogs; }

void SetModuleDialogs(TModuleDialogs* dialogs) { installedDialogs = dialogs; }
