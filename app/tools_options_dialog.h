// "Tools Options": the list of tools, with New, Delete and Edit. It edits a working copy of the
// tools; the caller takes the copy over after OK. Titles stay unique: a new or renamed tool whose
// title another tool has is refused.
#pragma once

#include <functional>

#include "app/shell_dialog.h"
#include "app/tools.h"

class QListWidget;

class TToolsOptionsDialog : public TShellDialog {
 public:
  explicit TToolsOptionsDialog(TToolList& tools, QWidget* parent = nullptr);

  QListWidget& List() { return *list_; }
  QPushButton& NewButton() { return *new_; }
  QPushButton& DeleteButton() { return *delete_; }
  QPushButton& EditButton() { return *edit_; }

  // Edits one tool in the property dialog; true on OK. Tests answer in its place.
  std::function<bool(SToolEigenschaft&)> editTool;

 private:
  bool Confirm() override { return true; }
  void Fill();
  // Selects `row`, or nothing when there is no such row.
  void SelectRow(int row);
  void EnableForRow(int row);
  void AddTool();
  void EditSelected();
  void DeleteSelected();
  bool TitleTaken(const QString& title, int except) const;

  TToolList& tools_;
  QListWidget* list_;
  QPushButton* new_;
  QPushButton* delete_;
  QPushButton* edit_;
};
