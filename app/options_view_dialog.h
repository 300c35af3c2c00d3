// "Options View": the grid, the kind of wires and the colours of the editors. It edits a copy of
// the view options and writes it back on OK; the caller then lets the editors repaint.
#pragma once

#include <array>

#include "app/options_dialog.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class TColorButton;

class TOptionsViewDialog : public TOptionsDialog<SViewOptions> {
 public:
  explicit TOptionsViewDialog(SViewOptions& options, QWidget* parent = nullptr);

  QLineEdit& GridSize() { return *gridSize_; }
  QCheckBox& SnapToGrid() { return *snapToGrid_; }
  QCheckBox& GridVisible() { return *gridVisible_; }
  QRadioButton& StraightLines() { return *straight_; }
  QRadioButton& AngledLines() { return *angled_; }
  // The grid colour first, then the six colours of the Colors page.
  TColorButton& Color(int index) { return *colors_[index]; }
  static constexpr int kColorCount = 7;

 private:
  bool Confirm() override;
  QWidget* GridPage();
  QWidget* LinesPage();
  QWidget* ColorsPage();
  void Show() override;

  QLineEdit* gridSize_;
  QCheckBox* snapToGrid_;
  QCheckBox* gridVisible_;
  QRadioButton* straight_;
  QRadioButton* angled_;
  std::array<TColorButton*, kColorCount> colors_{};
};
