// The dialogs and help that modules and module lists open. The application installs the real
// ones; without them (a headless render, the model tests) nothing is shown and nothing changes.
#pragma once

class TModulBild;
class TModulKomponent;
class TModuleListe;

class TModuleDialogs {
 public:
  virtual ~TModuleDialogs() = default;
  // The standard name dialog; true when the user confirmed a new title.
  virtual bool EditName(TModulBild& module) = 0;
  // Opens the help topic with the given context number (0: the contents).
  virtual void ShowHelp(int topic) = 0;
  // Shows the editor window of a macro module.
  virtual void ShowMacroWindow(TModulKomponent& macro) = 0;
  // The modal dialog that lists, finds and removes the modules of `list`.
  virtual void ShowModuleList(TModuleListe& list) = 0;
};

// The installed dialogs, or null.
TModuleDialogs* ModuleDialogs();
// Installs `dialogs` (not owned); null removes them.
void SetModuleDialogs(TModuleDialogs* dialogs);
