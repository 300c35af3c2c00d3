// "Options File": the recent-file list, autosave, the undo history after saving and the sound
// opened at start. It edits a copy of the file options and writes it back on OK; the caller then
// takes over the recent-file maximum and starts the autosave interval again.
#pragma once

#include "app/options_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

class TOptionsFileDialog : public TOptionsDialog<SFileOptions> {
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
  void Show() override;

  QComboBox* recent_;
  QCheckBox* autosave_;
  QLineEdit* minutes_;
  QCheckBox* undoAfterSave_;
  QRadioButton* showSound_;
  QRadioButton* showLast_;
  QLineEdit* startFile_;
};
