#include "app/options_sound_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/dialog_fields.h"

namespace {

constexpr int kHelpContext = 301;
constexpr int kWaveBufferTick = 5;

}  // namespace

TOptionsSoundDialog::TOptionsSoundDialog(SSoundOptions& options, QWidget* parent)
    : TOptionsDialog("Options Sound", kHelpContext, options, parent) {
  Pages().addTab(DefaultPage(), "Default &Properties");
  Pages().addTab(StartPage(), "&Start Properties");
  Show();
}

QWidget* TOptionsSoundDialog::DefaultPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  lowLatency_ = new QCheckBox("&Low latency (computed in the sound card's callback)");
  layout->addWidget(lowLatency_);
  layout->addSpacing(layout->spacing());
  waveBuffer_ = new QSlider(Qt::Horizontal);
  waveBuffer_->setRange(SSoundOptions::kMinWaveBuffer, SSoundOptions::kMaxWaveBuffer);
  waveBuffer_->setTickInterval(kWaveBufferTick);
  waveBuffer_->setTickPosition(QSlider::TicksBelow);
  waveBufferValue_ = new QLabel;
  waveBufferValue_->setMinimumWidth(waveBufferValue_->fontMetrics().horizontalAdvance("0000"));
  connect(waveBuffer_, &QSlider::valueChanged, waveBufferValue_,
          [this](int value) { waveBufferValue_->setNum(value); });
  auto* row = new QHBoxLayout;
  row->addWidget(waveBuffer_, 1);
  row->addWidget(waveBufferValue_);
  layout->addWidget(new QLabel("Wave - Buffer value"));
  layout->addLayout(row);
  layout->addWidget(new QLabel("Increase Values when clicks are heard."));
  layout->addWidget(new QLabel("Used without low latency, and where a sound cannot have it."));
  layout->addStretch(1);
  return page;
}

QWidget* TOptionsSoundDialog::StartPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  startAfterLoading_ = new QCheckBox("&Start after loading");
  stopAbove_ = NumberField(3);
  layout->addWidget(startAfterLoading_);
  layout->addWidget(SentenceRow("Stop when processor usage higher", stopAbove_, "%"));
  layout->addStretch(1);
  return page;
}

void TOptionsSoundDialog::Show() {
  lowLatency_->setChecked(copy_.lowLatency);
  waveBuffer_->setValue(copy_.waveBuffer);
  waveBufferValue_->setNum(waveBuffer_->value());
  startAfterLoading_->setChecked(copy_.startAfterLoading);
  stopAbove_->setText(QString::number(copy_.stopProzesserOver));
}

bool TOptionsSoundDialog::Confirm() {
  copy_.startAfterLoading = startAfterLoading_->isChecked();
  copy_.lowLatency = lowLatency_->isChecked();
  copy_.waveBuffer = waveBuffer_->value();
  copy_.stopProzesserOver = TypedNumber(*stopAbove_);
  TakeOver();
  return true;
}
