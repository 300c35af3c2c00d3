// The dialogs the model opens, as the main window provides them. Help opens the program's help
// window at the module's topic; the module list dialog lists, finds and removes modules. The
// modules' own dialogs are installed apart (module_dialogs.h).
#pragma once

#include "app/help_window.h"
#include "patch/module_dialogs.h"

class TMainFrame;

class TAppDialogs : public TModuleDialogs {
 public:
  explicit TAppDialogs(TMainFrame& frame) : frame_(frame) {}
  void ShowHelp(int topic) override { ShowHelpTopic(topic); }
  void ShowMacroWindow(TModulKomponent& macro) override;
  void ShowModuleList(TModuleListe& list) override;

 private:
  TMainFrame& frame_;
};
