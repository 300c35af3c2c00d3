// The dialogs the model opens, as the main window provides them. Help opens the program's help
// window at the module's topic; the module list dialog lists, finds and removes modules; a
// macro's window is opened by whoever shows the editor windows. The modules' own dialogs are
// installed apart (module_dialogs.h).
#pragma once

#include <functional>

#include "app/help_window.h"
#include "patch/module_dialogs.h"

class QWidget;

class TAppDialogs : public TModuleDialogs {
 public:
  // The module list dialog shows over `parent`; `showMacroWindow` opens a macro's window.
  TAppDialogs(QWidget& parent, std::function<void(TModulKomponent&)> showMacroWindow)
      : parent_(parent), showMacroWindow_(std::move(showMacroWindow)) {}
  void ShowHelp(int topic) override { ShowHelpTopic(topic); }
  void ShowMacroWindow(TModulKomponent& macro) override { showMacroWindow_(macro); }
  void ShowModuleList(TModuleListe& list) override;

 private:
  QWidget& parent_;
  std::function<void(TModulKomponent&)> showMacroWindow_;
};
