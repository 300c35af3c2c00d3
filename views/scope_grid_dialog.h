// The scope window's grid dialog "Wave Properties": the module's title, the grid's size and
// colour, the background and the pen. Every change applies at once (the window repaints); the
// dialog has only "&Close".
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class TAusgabeSehen;

class TWaveFormEigenschaften : public QDialog {
 public:
  // The grid sizes the list offers: "no", then 1 to 19.
  static constexpr int kMaxGridSize = 19;

  // `window` is the scope window: its caption follows the name, and it repaints on every change.
  TWaveFormEigenschaften(TAusgabeSehen& scope, QWidget& window);

  void EditNameChange();
  void ComboBoxGridSizeChange();

 private:
  // Lets the user pick the colour stored in `stored` (red in the lowest byte).
  void PickColour(int& stored);

  TAusgabeSehen& scope_;
  QWidget& window_;
  QLineEdit* editName_;
  QComboBox* comboBoxGridSize_;
};
