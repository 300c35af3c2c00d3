// What the three option dialogs share: they edit a copy of their option record, Reset puts the
// record's Reset defaults into the copy and shows them, and OK takes the copy over.
#pragma once

#include "app/shell_dialog.h"
#include "platform/options.h"

template <class Record>
class TOptionsDialog : public TShellDialog {
 protected:
  TOptionsDialog(const QString& caption, int helpContext, Record& options, QWidget* parent)
      : TShellDialog(caption, helpContext, parent), copy_(options), options_(options) {
    connect(AddButton("&Reset"), &QPushButton::clicked, this, [this] {
      ResetOptions(copy_);
      Show();
    });
  }
  // Shows the copy in the controls.
  virtual void Show() = 0;
  // Writes the copy back into the record.
  void TakeOver() { options_ = copy_; }

  Record copy_;

 private:
  Record& options_;
};
