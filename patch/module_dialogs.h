// The dialogs and help that modules and module lists open. The application installs the real
// ones; without them (a headless render, the model tests) nothing is shown and nothing changes.
//
// How a module's dialog is reached. Model code has no widgets, so a kind's ShowProperties asks
// for its dialog by name: OpenModuleDialog(TBasisKonstanten::kDialog, *this). The name is a
// constant of the model class; the dialog's widget file (modules/constants_view.cpp, ...) adds
// an opener under that name to a TModuleDialogOpeners, and the program and the dialog tests
// install the full set (CatalogueDialogOpeners, modules/module_dialogs_view.h) through the
// application context. A new kind's dialog thus adds a name, a widget file and one line to the
// catalogue's list, and changes no interface. The opener shows the dialog, writes its values
// back on OK and answers whether it closed with OK; the model then does what follows OK (restart
// the sound, show a fader on the panel).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

class TModulBild;
class TModulKomponent;
class TModuleListe;

class TModuleDialogs {
 public:
  virtual ~TModuleDialogs() = default;
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

// Shows a dialog for `module`, which is of the kinds that use the opener's name; true when the
// dialog closed with OK and has written its values back.
using TModuleDialogOpener = std::function<bool(TModulBild& module)>;

// The module dialogs by name.
class TModuleDialogOpeners {
 public:
  // Adds or replaces the opener of `name`.
  void Add(std::string name, TModuleDialogOpener opener);
  // Opens the dialog `name` for `module`; false when there is none or it was cancelled.
  bool Open(std::string_view name, TModulBild& module) const;

 private:
  std::map<std::string, TModuleDialogOpener, std::less<>> openers_;
};

// The name of the standard name dialog, which every kind without a dialog of its own opens.
inline constexpr std::string_view kNameDialog = "Name";

// Opens the dialog `name` through the installed openers; false when none are installed.
bool OpenModuleDialog(std::string_view name, TModulBild& module);
// The installed openers, or null.
const TModuleDialogOpeners* ModuleDialogOpeners();
// Installs `openers` (not owned); null removes them.
void SetModuleDialogOpeners(const TModuleDialogOpeners* openers);
