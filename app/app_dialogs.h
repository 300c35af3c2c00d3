// The dialogs the model opens, as the main window provides them. The name, help and module list
// dialogs come later; until then they show nothing and change nothing.
#pragma once

#include "patch/module_dialogs.h"

class TMainFrame;

class TAppDialogs : public TModuleDialogs {
 public:
  explicit TAppDialogs(TMainFrame& frame) : frame_(frame) {}
  bool EditName(TModulBild&) override { return false; }
  void ShowHelp(int) override {}
  void ShowMacroWindow(TModulKomponent& macro) override;
  void ShowModuleList(TModuleListe&) override {}

 private:
  TMainFrame& frame_;
};
