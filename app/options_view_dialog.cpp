#include "app/options_view_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/dialog_fields.h"
#include "platform/message_box.h"

namespace {

constexpr int kHelpContext = 302;

// The colours in the order of TOptionsViewDialog::Color.
struct SColorRow {
  const char* text;
  std::int32_t SViewOptions::*member;
};
const SColorRow kColors[TOptionsViewDialog::kColorCount] = {
    {"&Color ...", &SViewOptions::gridColor},
    {"&Background", &SViewOptions::colorBackground},
    {"&Analog", &SViewOptions::colorAnalog},
    {"&Frequenz", &SViewOptions::colorFrequenz},
    {"&Midi", &SViewOptions::colorMidi},
    {"Inaktiv Module", &SViewOptions::moduleInActive},
    {"Aktiv Module", &SViewOptions::moduleActive},
};

}  // namespace

TOptionsViewDialog::TOptionsViewDialog(SViewOptions& options, QWidget* parent)
    : TOptionsDialog("Options View", kHelpContext, options, parent) {
  for (int i = 0; i < kColorCount; ++i)
    colors_[i] = new TColorButton(kColors[i].text);
  Pages().addTab(GridPage(), "Grid");
  Pages().addTab(LinesPage(), "Lines");
  Pages().addTab(ColorsPage(), "Colors");
  Show();
}

QWidget* TOptionsViewDialog::GridPage() {
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  gridSize_ = NumberField(2);
  snapToGrid_ = new QCheckBox("Snap to Grid");
  gridVisible_ = new QCheckBox("GridVisible");
  form->addRow("Size", gridSize_);
  form->addRow("Color", colors_[0]);
  form->addRow(snapToGrid_);
  form->addRow(gridVisible_);
  return page;
}

QWidget* TOptionsViewDialog::LinesPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  straight_ = new QRadioButton("Straight lines");
  angled_ = new QRadioButton("Right-angled lines");
  layout->addWidget(straight_);
  layout->addWidget(angled_);
  layout->addStretch(1);
  return page;
}

QWidget* TOptionsViewDialog::ColorsPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  for (int i = 1; i < kColorCount; ++i)
    layout->addWidget(colors_[i]);
  layout->addStretch(1);
  return page;
}

void TOptionsViewDialog::Show() {
  const SViewOptions& values = copy_;
  gridSize_->setText(QString::number(values.gridSize));
  snapToGrid_->setChecked(values.snapToGrid);
  gridVisible_->setChecked(values.gridVisible);
  straight_->setChecked(values.directLines);
  angled_->setChecked(!values.directLines);
  for (int i = 0; i < kColorCount; ++i)
    colors_[i]->SetColor(values.*kColors[i].member);
}

bool TOptionsViewDialog::Confirm() {
  const int size = TypedNumber(*gridSize_);
  if (size < SViewOptions::kMinGridSize) {
    ShowMessage(this, {"Fault", "Gridsize must be higher then 7 points", TMessageIcon::Error,
                       TMessageButtons::Ok});
    return false;
  }
  copy_.gridSize = size;
  copy_.snapToGrid = snapToGrid_->isChecked();
  copy_.gridVisible = gridVisible_->isChecked();
  copy_.directLines = straight_->isChecked();
  for (int i = 0; i < kColorCount; ++i)
    copy_.*kColors[i].member = colors_[i]->Color();
  TakeOver();
  return true;
}
