#include "app/dialog_fields.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "platform/options.h"
#include "views/canvas_geometry.h"

QWidget* SentenceRow(const QString& before, QWidget* control, const QString& after) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(before));
  layout->addWidget(control);
  layout->addWidget(new QLabel(after));
  layout->addStretch(1);
  return row;
}

QLineEdit* NumberField(int digits) {
  auto* field = new QLineEdit;
  field->setInputMask(QString(digits, '9'));
  field->setMaximumWidth(field->fontMetrics().horizontalAdvance('0') * (digits + 3));
  return field;
}

int TypedNumber(const QLineEdit& field) { return field.text().trimmed().toInt(); }

TColorButton::TColorButton(const QString& text)
    : button_(new QPushButton(text)), sample_(new QLabel) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  sample_->setFixedSize(40, 20);
  sample_->setFrameShape(QFrame::Box);
  sample_->setAutoFillBackground(true);
  layout->addWidget(sample_);
  layout->addWidget(button_, 1);
  connect(button_, &QPushButton::clicked, this, &TColorButton::Choose);
}

void TColorButton::SetColor(std::int32_t stored) {
  color_ = stored;
  QPalette palette = sample_->palette();
  palette.setColor(QPalette::Window, StoredToColor(stored));
  sample_->setPalette(palette);
}

void TColorButton::Choose() {
  const QColor chosen = QColorDialog::getColor(StoredToColor(color_), this);
  if (chosen.isValid()) SetColor(StoredColor(chosen.red(), chosen.green(), chosen.blue()));
}
