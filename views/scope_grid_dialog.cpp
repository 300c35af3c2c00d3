#include "views/scope_grid_dialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "modules/scope.h"
#include "platform/text_codec.h"
#include "views/canvas_geometry.h"

namespace {

constexpr int kNameLength = 40;

int StoredColour(const QColor& colour) {
  return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

QPushButton* AddButton(QLayout& layout, const QString& text, const char* name) {
  auto* button = new QPushButton(text);
  button->setObjectName(name);
  layout.addWidget(button);
  return button;
}

}  // namespace

TWaveFormEigenschaften::TWaveFormEigenschaften(TAusgabeSehen& scope, QWidget& window)
    : QDialog(&window, Qt::Tool | Qt::WindowStaysOnTopHint),
      scope_(scope),
      window_(window),
      editName_(new QLineEdit(window.windowTitle())),
      comboBoxGridSize_(new QComboBox) {
  setWindowTitle("Wave Properties");
  TFensterSehen& look = *scope_.ViewLook;
  editName_->setObjectName("EditName");
  editName_->setMaxLength(kNameLength);
  comboBoxGridSize_->setObjectName("ComboBoxGridSize");
  comboBoxGridSize_->addItem("no");
  for (int size = 1; size <= kMaxGridSize; ++size)
    comboBoxGridSize_->addItem(QString::number(size));
  look.GridSize->value = std::clamp(look.GridSize->value, 0, kMaxGridSize);
  comboBoxGridSize_->setCurrentIndex(look.GridSize->value);

  auto* grid = new QGroupBox(" Grid ");
  auto* gridRow = new QHBoxLayout(grid);
  gridRow->addWidget(comboBoxGridSize_);
  QPushButton* gridColour = AddButton(*gridRow, "&Color", "SpeedButtonGridColor");
  auto* colours = new QGroupBox(" Color ");
  auto* colourRow = new QHBoxLayout(colours);
  QPushButton* background = AddButton(*colourRow, "&Background", "SpeedButtonColorBackground");
  QPushButton* pen = AddButton(*colourRow, "&Pen", "SpeedButtonColorPen");

  auto* layout = new QVBoxLayout(this);
  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(new QLabel("Name"));
  nameRow->addWidget(editName_);
  layout->addLayout(nameRow);
  layout->addWidget(grid);
  layout->addWidget(colours);
  auto* closeRow = new QHBoxLayout;
  closeRow->addStretch();
  QPushButton* close = AddButton(*closeRow, "&Close", "BitBtnOk");
  layout->addLayout(closeRow);

  connect(editName_, &QLineEdit::textEdited, this, &TWaveFormEigenschaften::EditNameChange);
  connect(comboBoxGridSize_, &QComboBox::currentIndexChanged, this,
          &TWaveFormEigenschaften::ComboBoxGridSizeChange);
  connect(gridColour, &QPushButton::clicked, this,
          [this] { PickColour(scope_.ViewLook->ColorGrid->value); });
  connect(background, &QPushButton::clicked, this,
          [this] { PickColour(scope_.ViewLook->ColorBackground->value); });
  connect(pen, &QPushButton::clicked, this,
          [this] { PickColour(scope_.ViewLook->WaveColor->value); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void TWaveFormEigenschaften::EditNameChange() {
  window_.setWindowTitle(editName_->text());
  scope_.Title->value = ToFileText(editName_->text());
  scope_.PropertyChanged(scope_.Title.get());
  scope_.MarkChanged();
}

void TWaveFormEigenschaften::ComboBoxGridSizeChange() {
  scope_.ViewLook->GridSize->value = std::max(0, comboBoxGridSize_->currentIndex());
  scope_.MarkChanged();
  window_.update();
}

void TWaveFormEigenschaften::PickColour(int& stored) {
  const QColor colour = QColorDialog::getColor(StoredToColor(stored), this);
  if (!colour.isValid()) return;
  stored = StoredColour(colour);
  scope_.MarkChanged();
  window_.update();
}
