#include "patch/module_dialogs.h"

#include <utility>

namespace {

TModuleDialogs* installedDialogs = nullptr;
const TModuleDialogOpeners* installedOpeners = nullptr;

}  // namespace

TModuleDialogs* ModuleDialogs() { return installedDialogs; }

void SetModuleDialogs(TModuleDialogs* dialogs) { installedDialogs = dialogs; }

void TModuleDialogOpeners::Add(std::string name, TModuleDialogOpener opener) {
  openers_.insert_or_assign(std::move(name), std::move(opener));
}

bool TModuleDialogOpeners::Open(std::string_view name, TModulBild& module) const {
  const auto found = openers_.find(name);
  return found != openers_.end() && found->second(module);
}

bool OpenModuleDialog(std::string_view name, TModulBild& module) {
  return installedOpeners != nullptr && installedOpeners->Open(name, module);
}

const TModuleDialogOpeners* ModuleDialogOpeners() { return installedOpeners; }

void SetModuleDialogOpeners(const TModuleDialogOpeners* openers) { installedOpeners = openers; }
