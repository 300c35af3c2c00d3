// Controls the shell dialogs share: sentences with a field in their gap ("after [30] min."),
// number fields of a few digits, and colour buttons with their sample.
#pragma once

#include <QPushButton>
#include <QString>
#include <cstdint>

class QLabel;
class QLineEdit;

// A row that reads `before`, the control, `after`.
QWidget* SentenceRow(const QString& before, QWidget* control, const QString& after);

// A field that takes at most `digits` decimal digits.
QLineEdit* NumberField(int digits);
// The number in `field`, 0 when it holds none.
int TypedNumber(const QLineEdit& field);

// A button that opens the colour dialog and shows the chosen colour in a sample beside it.
class TColorButton : public QWidget {
 public:
  explicit TColorButton(const QString& text);
  // Colours as the options store them (red in the lowest byte).
  void SetColor(std::int32_t stored);
  std::int32_t Color() const { return color_; }
  QPushButton& Button() { return *button_; }

 private:
  void Choose();

  QPushButton* button_;
  QLabel* sample_;
  std::int32_t color_ = 0;
};
