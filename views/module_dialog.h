// The widget side of every module dialog: the frame they share (rows of controls above a lowered
// bar with "&OK", "&Cancel" and "&Help"), the standard name dialog, and ShowModuleDialog, which
// places a dialog beside its module and shows it. Dialogs are built in code with layouts.
//
// A dialog loads its values in its constructor and keeps OK's checks and the write-back in one
// function, Accept: OK calls it and closes only when it answers true, so nothing is written on
// Cancel or while a check fails. A check that fails shows its message and either keeps the
// dialog open or, for the dialogs that are offered anew (AddReopeningDialog), closes it to be
// shown again with the stored values (RefusedForReopen). Tests fill the controls (found by their
// object names) and press OK, scripting whole ShowProperties calls with SetModalRunner.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "patch/module_dialogs.h"

class QGridLayout;
class QLineEdit;
class TModulBild;

// Shows a placed modal dialog and returns its result (QDialog::Accepted or Rejected).
using TModalRunner = std::function<int(QDialog& form)>;
// Replaces how modal dialogs are shown (QDialog::exec); an empty runner restores it.
void SetModalRunner(TModalRunner runner);

// Selects `module`, places `form` beside the module's panel by PlaceNear (start `position`, gap
// 2; centred when the module is not on a screen), and when `modal` shows it modally. Answers
// whether it closed with OK, which marks the document changed. Not modal: only placed.
bool ShowModuleDialog(TModulBild& module, QDialog& form, bool modal, int position = 1);

class TModuleDialog : public QDialog {
 public:
  // A tool window captioned with the module's title.
  explicit TModuleDialog(TModulBild& module);

  // OK's checks, then the write-back; false (after a message) keeps the dialog open.
  virtual bool Accept() = 0;

  TModulBild& Module() const { return module_; }
  // Whether the dialog closed to be shown again (a value was refused).
  bool WantsReopen() const { return result() == kReopen; }

 protected:
  // Shows `text` captioned `caption` with an error icon.
  void ShowFault(const char* caption, const std::string& text);
  // With a non-empty `fault`: shows it and closes the dialog, to be shown anew with the stored
  // values; true then.
  bool RefusedForReopen(const char* caption, const std::string& fault);

  // The grid the dialog's own controls go into, above the button bar.
  QGridLayout& Rows() const { return *rows_; }
  // A label in column 0 and `field` in column 1 of a new row; the label's shortcut focuses
  // `buddy` (by default the field). Returns the row.
  int AddRow(const QString& label, QWidget* field, QWidget* buddy = nullptr);
  // An edit of at most `maxLength` characters named `name`.
  QLineEdit* AddEdit(const QString& label, const char* name, int maxLength);
  // `widget` across both columns of a new row, or (`wide` false) in the fields' column.
  void AddBelow(QWidget* widget, bool wide);
  // A short edit for a number, with `note` (its unit or range) after it.
  QLineEdit* AddNumberEdit(const QString& label, const char* name, int maxLength,
                           const QString& note);

 private:
  static constexpr int kReopen = 2;

  void BitBtnOkClick();

  TModulBild& module_;
  QGridLayout* rows_;
};

// The standard name dialog: the module's title in "Name" (at most 40 characters).
class TStandardModulDialog : public TModuleDialog {
 public:
  explicit TStandardModulDialog(TModulBild& module);

  // Stores the title and tells the view.
  bool Accept() override;

 protected:
  QLineEdit* EditName;
};

// A field that holds `widgets` side by side, flush left.
QWidget* InOneLine(const std::vector<QWidget*>& widgets);

// Stores `edit`'s text as the module's title and tells the view.
void StoreTitle(TModulBild& module, const QLineEdit& edit);

// Adds the standard name dialog under kNameDialog.
void AddStandardDialogs(TModuleDialogOpeners& openers);

// Adds an opener under `name` that builds a `Dialog` for modules of class `Kind` and shows it
// beside the module; modules of other classes open nothing.
template <class Dialog, class Kind>
void AddModuleDialog(TModuleDialogOpeners& openers, const std::string& name) {
  openers.Add(name, [](TModulBild& module) {
    auto* kind = dynamic_cast<Kind*>(&module);
    if (kind == nullptr) return false;
    Dialog form(*kind);
    return ShowModuleDialog(module, form, true);
  });
}

// As AddModuleDialog, but a dialog that refused a value (RefusedForReopen) is followed by a fresh
// one, until one closes with OK or Cancel.
template <class Dialog, class Kind>
void AddReopeningDialog(TModuleDialogOpeners& openers, const std::string& name) {
  openers.Add(name, [](TModulBild& module) {
    auto* kind = dynamic_cast<Kind*>(&module);
    if (kind == nullptr) return false;
    for (;;) {
      Dialog form(*kind);
      if (ShowModuleDialog(module, form, true)) return true;
      if (!form.WantsReopen()) return false;
    }
  });
}
