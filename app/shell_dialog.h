// The frame the option, device, tool and module list dialogs share: their content above, the
// buttons below. Help and F1 open the dialog's help topic; OK closes the dialog only when the
// dialog's checks accept what its controls hold, and only then are the values taken over.
#pragma once

#include <QDialog>
#include <QPushButton>

class QDialogButtonBox;
class QTabWidget;

class TShellDialog : public QDialog {
 public:
  TShellDialog(const QString& caption, int helpContext, QWidget* parent);

  // OK: closes with Accepted when Confirm agrees.
  void accept() override;

  QPushButton& OkButton() { return *ok_; }
  int HelpContext() const { return helpContext_; }

 protected:
  // Checks the controls, telling the user what is wrong and answering false to keep the dialog
  // open; otherwise takes the values over and answers true.
  virtual bool Confirm() = 0;
  // Puts `content` above the buttons.
  void SetContent(QWidget* content);
  // A button beside OK, Cancel and Help (Reset, for example).
  QPushButton* AddButton(const QString& text);
  // Pages above the buttons, each made by the caller.
  QTabWidget& Pages();

 private:
  int helpContext_;
  QDialogButtonBox* buttons_;
  QPushButton* ok_;
  QTabWidget* pages_ = nullptr;
};
