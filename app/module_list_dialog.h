// "Modules": every module of one module list by title, to select modules on the canvas, scroll
// the canvas to one and remove several at once. A playing sound stops while the dialog is open.
// Every removal is made at once; OK files them as one undo step "Component Window", Cancel (or
// closing the window) brings every removed module back and files nothing.
#pragma once

#include <QRect>

#include "app/shell_dialog.h"
#include "edit/action_manager.h"

class QLabel;
class QListWidget;
class TDokumentKlang;
class TModul;
class TModuleListe;

class TModuleListDialog : public TShellDialog {
 public:
  explicit TModuleListDialog(TModuleListe& list, QWidget* parent = nullptr);
  ~TModuleListDialog() override;

  QListWidget& List() { return *items_; }
  QPushButton& SelectAllButton() { return *selectAll_; }
  QPushButton& GoToButton() { return *goTo_; }
  QPushButton& RemoveButton() { return *remove_; }
  // The picture of the one selected module; null without exactly one.
  const QLabel& Picture() const { return *picture_; }

  void reject() override;

 private:
  bool Confirm() override;
  QWidget* Content();
  void Fill();
  void SelectionChanged();
  void UpdateButtons();
  void GoTo();
  void Remove();
  TModul* ModuleOf(int row) const;

  TModuleListe& list_;
  TDokumentKlang* document_;
  bool wasPlaying_;
  TRPointerMacroAction pending_;
  QListWidget* items_ = nullptr;
  QLabel* picture_ = nullptr;
  QPushButton* selectAll_ = nullptr;
  QPushButton* goTo_ = nullptr;
  QPushButton* remove_ = nullptr;
};
