// "Tool Property": the title, program, parameters and initial folder of one tool. OK refuses an
// empty title and otherwise writes the four fields back into the tool.
#pragma once

#include "app/shell_dialog.h"
#include "app/tools.h"

class QLineEdit;

class TToolPropertyDialog : public TShellDialog {
 public:
  explicit TToolPropertyDialog(SToolEigenschaft& tool, QWidget* parent = nullptr);

  QLineEdit& Title() { return *title_; }
  QLineEdit& Program() { return *program_; }
  QLineEdit& Parameters() { return *parameters_; }
  QLineEdit& Directory() { return *directory_; }
  // Takes a chosen program file: its path, and its folder as the initial folder.
  void ChooseProgram(const QString& file);

 private:
  bool Confirm() override;
  void Search();

  SToolEigenschaft& tool_;
  QLineEdit* title_;
  QLineEdit* program_;
  QLineEdit* parameters_;
  QLineEdit* directory_;
};
