// "Options File": the recent-file list, autosave, the undo history after saving and the sound
// opened at start. It edits a copy of the file options and writes it back on OK; the caller then
// takes over the recent-file maximum and starts the autosave interval again.
#pragma once

#include "app/shell_dialog.h"
#include "platform/options.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

class TOptionsFileDialog : public TShellDialog {
 public:
  explicit TOptionsFileDialog(SFileOptions& options, QWidget* parent = nullptr);

  QComboBox& RecentFiles() { return *recent_; }
  QCheckBox& Autosave() { return *autosave_; }
  QLineEdit& AutosaveMinutes() { return *minutes_; }
  QCheckBox& UndoAfterSave() { return *undoAfterSave_; }
  QRadioButton& ShowSound() { return *showSound_; }
  QRadioButton& ShowLastSound() { return *showLast_; }
  QLineEdit& StartFile() { return *startFile_; }

 private:
  bool Confirm() override;
  QWidget* SavePage();
  QWidget* StartPage();
  void BrowseStartFile();
  // Shows the copy in the controls.
  void Show();

  SFileOptions& options_;
  SFileOptions copy_;
  QComboBox* recent_;
  QCheckBox* autosave_;
  QLineEdit* minutes_;
  QCheckBox* undoAfterSave_;
  QRadioButton* showSound_;
  QRadioButton* showLast_;
  QLineEdit* startFile_;
};
