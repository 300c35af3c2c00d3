#include "views/scope_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDoubleValidator>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "modules/scope.h"
#include "platform/text_codec.h"
#include "resources/artwork.h"
#include "views/module_dialog.h"
#include "views/scope_grid_dialog.h"
#include "views/scope_picture.h"

namespace {

// The time and zoom fields hold four to six characters.
constexpr int kFieldWidth = 56;

const QString kExportFilters[] = {"Bitmap File (*.bmp)", "Wave File 22050 Hz (*.wav)",
                                  "Wave File 44100 Hz (*.wav)"};

// The picture, drawn from the scope's properties and capture whenever it paints.
class TWavePaintBox : public QWidget {
 public:
  TWavePaintBox(const TAusgabeSehen& scope, TViewWave& window) : scope_(scope), window_(window) {
    setObjectName("PaintBox");
    setMouseTracking(true);
    setMinimumSize(40, 40);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    PaintWavePicture(painter, size(), scope_);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    window_.PaintBoxMouseMove(static_cast<int>(event->position().x()));
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) window_.PaintBoxClick();
  }

 private:
  const TAusgabeSehen& scope_;
  TViewWave& window_;
};

QToolButton* SpeedButton(const char* name, const QString& hint, const char* artwork) {
  auto* button = new QToolButton;
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setAutoRaise(true);
  button->setIcon(ArtworkIcon(artwork));
  button->setIconSize(QSize(20, 20));
  return button;
}

QPushButton* BottomButton(QLayout& layout, const QString& text, const char* name) {
  auto* button = new QPushButton(text);
  button->setObjectName(name);
  layout.addWidget(button);
  return button;
}

// The value under the mouse, in percent of full scale with four significant digits.
QString ValueText(std::int32_t sample) {
  return QString::number(sample * 100.0 / 2048.0, 'g', 4) + " %";
}

// The window as the window document holds it.
class TScopeWindowAdapter : public TScopeWindowView {
 public:
  explicit TScopeWindowAdapter(TViewWave& window) : window_(&window) {}
  // The window may be inside one of its own handlers (its close button): it goes later.
  ~TScopeWindowAdapter() override {
    if (window_ == nullptr) return;
    window_->Release();
    window_->deleteLater();
  }
  void ApplyProperties() override {
    if (window_) window_->ApplyPlacement();
  }

 private:
  QPointer<TViewWave> window_;
};

bool OpenScopeWindow(TModulBild& module) {
  auto* scope = dynamic_cast<TAusgabeSehen*>(&module);
  if (scope == nullptr) return false;
  TFensterSehen& look = *scope->ViewLook;
  const bool placed = look.Rect->GetRect().top != look.Rect->GetRect().bottom;
  auto* window = new TViewWave(*scope, QApplication::activeWindow());
  look.Form = std::make_unique<TScopeWindowAdapter>(*window);
  if (placed) {
    window->ApplyPlacement();
  } else {
    ShowModuleDialog(*scope, *window, false);
  }
  window->show();
  return true;
}

}  // namespace

void AddScopeWindow(TModuleDialogOpeners& openers) {
  openers.Add(std::string(TFensterSehen::kWindowDialog), OpenScopeWindow);
}

TViewWave::TViewWave(TAusgabeSehen& scope, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), scope_(scope) {
  setObjectName("ViewWave");
  setWindowTitle("Look Wave");
  setMinimumSize(kMinWidth, kMinHeight);
  paintBox_ = new TWavePaintBox(scope_, *this);
  auto* client = new QWidget;
  client->setObjectName("PanelClient");
  auto* clientLayout = new QVBoxLayout(client);
  clientLayout->setContentsMargins(0, 0, 0, 0);
  clientLayout->addWidget(paintBox_);
  auto* middle = new QHBoxLayout;
  middle->setContentsMargins(0, 0, 0, 0);
  middle->addWidget(BuildLeftPanel());
  middle->addWidget(client, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addLayout(middle, 1);
  layout->addWidget(BuildBottomPanel());
  ApplyTitle();
  maskEditZeit_->setText(QString::number(scope_.Time->value));
  ShowZoom();
  checkBoxOptimize_->setChecked(scope_.ViewLook->Optimize->value == 1);
  scope_.CaptureCallback = TAMsgStandardCallback([this] {
    paintBox_->update();
    return 0;
  });
  shownProgress_ = scope_.CaptureProgress();
  connect(&refresh_, &QTimer::timeout, this, &TViewWave::RefreshIfCaptured);
  refresh_.start(kRefreshMs);
  resize(420, 260);
}

TViewWave::~TViewWave() { Release(); }

void TViewWave::Release() {
  if (released_) return;
  released_ = true;
  refresh_.stop();
  scope_.CaptureCallback = TAMsgStandardCallback();
  hide();
}

QWidget* TViewWave::BuildLeftPanel() {
  panelLinks_ = new QWidget;
  panelLinks_->setObjectName("PanelLinks");
  auto* layout = new QVBoxLayout(panelLinks_);
  layout->setContentsMargins(2, 0, 2, 0);
  auto* buttons = new QHBoxLayout;
  QToolButton* grid = SpeedButton("SpeedButtonGrid", "Grid Properties", "action-align-grid");
  QToolButton* copy = SpeedButton("SpeedButtonCopy", "Copy Picture to Clipboard", "action-copy");
  QToolButton* exporting = SpeedButton("SpeedButtonExport", "Export data to disk", "action-save");
  for (QToolButton* button : {grid, copy, exporting})
    buttons->addWidget(button);
  buttons->addStretch();
  layout->addLayout(buttons);

  auto* time = new QGroupBox(" Time msec. ");
  auto* timeRow = new QHBoxLayout(time);
  maskEditZeit_ = new QLineEdit;
  maskEditZeit_->setObjectName("MaskEditZeit");
  maskEditZeit_->setMaxLength(4);
  maskEditZeit_->setFixedWidth(kFieldWidth);
  maskEditZeit_->setValidator(new QIntValidator(0, TAusgabeSehen::kMaxTime, maskEditZeit_));
  speedButtonApply_ = new QToolButton;
  speedButtonApply_->setObjectName("SpeedButton_Apply");
  speedButtonApply_->setText("Apply");
  speedButtonApply_->setEnabled(false);
  timeRow->addWidget(maskEditZeit_);
  timeRow->addWidget(speedButtonApply_);
  timeRow->addStretch();
  layout->addWidget(time);

  auto* scale = new QGroupBox(" Scale ");
  auto* scaleLayout = new QVBoxLayout(scale);
  auto* zoomRow = new QHBoxLayout;
  maskEditZoom_ = new QLineEdit;
  maskEditZoom_->setObjectName("MaskEditZoom");
  maskEditZoom_->setMaxLength(6);
  maskEditZoom_->setFixedWidth(kFieldWidth);
  auto* zoomValidator = new QDoubleValidator(0, kMaxScopeZoom, 3, maskEditZoom_);
  zoomValidator->setLocale(QLocale::c());
  maskEditZoom_->setValidator(zoomValidator);
  auto* up = new QToolButton;
  up->setObjectName("UpDownZoomUp");
  up->setArrowType(Qt::UpArrow);
  auto* down = new QToolButton;
  down->setObjectName("UpDownZoomDown");
  down->setArrowType(Qt::DownArrow);
  zoomRow->addWidget(maskEditZoom_);
  zoomRow->addWidget(up);
  zoomRow->addWidget(down);
  zoomRow->addStretch();
  scaleLayout->addLayout(zoomRow);
  checkBoxOptimize_ = new QCheckBox("Optimize");
  checkBoxOptimize_->setObjectName("CheckBox_Optimize");
  scaleLayout->addWidget(checkBoxOptimize_);
  layout->addWidget(scale);

  auto* value = new QHBoxLayout;
  value->addWidget(new QLabel("Value :"));
  labelWertAnzeige_ = new QLabel("0 %");
  labelWertAnzeige_->setObjectName("LabelWertAnzeige");
  value->addWidget(labelWertAnzeige_, 1);
  layout->addLayout(value);
  layout->addStretch();

  connect(grid, &QToolButton::clicked, this, &TViewWave::SpeedButtonGridClick);
  connect(copy, &QToolButton::clicked, this, &TViewWave::SpeedButtonCopyClick);
  connect(exporting, &QToolButton::clicked, this, &TViewWave::SpeedButtonExportClick);
  connect(maskEditZeit_, &QLineEdit::textEdited, speedButtonApply_,
          [this] { speedButtonApply_->setEnabled(true); });
  connect(speedButtonApply_, &QToolButton::clicked, this, &TViewWave::SpeedButtonApplyClick);
  connect(maskEditZoom_, &QLineEdit::textEdited, this, &TViewWave::MaskEditZoomChange);
  connect(up, &QToolButton::clicked, this, [this] { UpDownZoomClick(true); });
  connect(down, &QToolButton::clicked, this, [this] { UpDownZoomClick(false); });
  connect(checkBoxOptimize_, &QCheckBox::clicked, this, &TViewWave::CheckBoxOptimizeClick);
  return panelLinks_;
}

QWidget* TViewWave::BuildBottomPanel() {
  panelUnten_ = new QWidget;
  panelUnten_->setObjectName("PanelUnten");
  auto* layout = new QHBoxLayout(panelUnten_);
  layout->setContentsMargins(2, 2, 2, 2);
  QPushButton* close = BottomButton(*layout, "&Close", "BitBtnClose");
  QPushButton* full = BottomButton(*layout, "&Full View", "SpeedButton_Hide");
  layout->addStretch();
  QPushButton* help = BottomButton(*layout, "&Help", "ButtonHelp");
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  connect(full, &QPushButton::clicked, this, &TViewWave::SpeedButtonHideClick);
  connect(help, &QPushButton::clicked, this, [this] { scope_.ShowHelp(); });
  return panelUnten_;
}

void TViewWave::ApplyTitle() { setWindowTitle(FromFileText(scope_.Title->value)); }

void TViewWave::ApplyPlacement() {
  ApplyTitle();
  const TRect r = scope_.ViewLook->Rect->GetRect();
  if (r.top == r.bottom) return;
  applying_ = true;
  setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
  applying_ = false;
}

void TViewWave::KeepPlacement() {
  if (applying_ || released_ || !isVisible()) return;
  const QRect g = geometry();
  scope_.ViewLook->Rect->SetRect({g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
}

void TViewWave::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  KeepPlacement();
}

void TViewWave::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  KeepPlacement();
}

void TViewWave::closeEvent(QCloseEvent* event) {
  QDialog::closeEvent(event);
  if (released_) return;
  scope_.ViewLook->Visible->value = 0;
  scope_.ViewLook->CloseWindow();
}

QImage TViewWave::Picture() const { return RenderWavePicture(scope_, paintBox_->size()); }

bool TViewWave::ExportTo(const QString& path, TWaveExport kind) const {
  if (kind != TWaveExport::Bitmap) {
    const bool doubled = kind == TWaveExport::Wave44100;
    return scope_.ExportWav(path.toStdString(), doubled ? 44100 : 22050);
  }
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && Picture().save(&file, "BMP") && file.commit();
}

void TViewWave::ShowZoom() {
  maskEditZoom_->setText(QString::asprintf("%4.3f", scope_.ViewLook->Scale_Y->value));
}

void TViewWave::UpDownZoomClick(bool up) {
  scope_.ViewLook->Scale_Y->value = ZoomStep(maskEditZoom_->text().trimmed().toDouble(), up);
  ShowZoom();
  scope_.MarkChanged();
  paintBox_->update();
}

void TViewWave::MaskEditZoomChange() {
  scope_.ViewLook->Scale_Y->value = maskEditZoom_->text().trimmed().toDouble();
  scope_.MarkChanged();
  paintBox_->update();
}

void TViewWave::CheckBoxOptimizeClick() {
  scope_.ViewLook->Optimize->value = checkBoxOptimize_->isChecked() ? 1 : 0;
  scope_.MarkChanged();
  paintBox_->update();
}

void TViewWave::SpeedButtonApplyClick() {
  scope_.SetCaptureTime(maskEditZeit_->text().toInt());
  maskEditZeit_->setText(QString::number(scope_.Time->value));
  scope_.MarkChanged();
  speedButtonApply_->setEnabled(false);
  paintBox_->update();
}

void TViewWave::SpeedButtonCopyClick() { QApplication::clipboard()->setImage(Picture()); }

void TViewWave::SpeedButtonExportClick() {
  QFileDialog dialog(this, "Export as Bitmap or Wave", FromFileText(scope_.Title->value).trimmed());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("bmp");
  dialog.setNameFilters({kExportFilters[0], kExportFilters[1], kExportFilters[2]});
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const auto chosen =
      std::find(std::begin(kExportFilters), std::end(kExportFilters), dialog.selectedNameFilter());
  const auto kind = static_cast<TWaveExport>(std::max<std::ptrdiff_t>(0, chosen - kExportFilters));
  ExportTo(dialog.selectedFiles().front(), kind);
}

void TViewWave::SpeedButtonGridClick() {
  TWaveFormEigenschaften dialog(scope_, *this);
  dialog.move(frameGeometry().topLeft());
  dialog.exec();
}

void TViewWave::SpeedButtonHideClick() {
  panelLinks_->hide();
  panelUnten_->hide();
}

void TViewWave::PaintBoxClick() {
  panelLinks_->setVisible(!panelLinks_->isVisible());
  panelUnten_->setVisible(panelLinks_->isVisible());
}

void TViewWave::PaintBoxMouseMove(int x) {
  const std::vector<std::int32_t> samples = scope_.CapturedSamples();
  const int width = paintBox_->width();
  if (samples.empty() || width <= 0 || x < 0 || x >= width) return;
  const auto index =
      static_cast<std::size_t>(static_cast<std::int64_t>(samples.size()) * x / width);
  labelWertAnzeige_->setText(ValueText(samples[index]));
}

void TViewWave::RefreshIfCaptured() {
  const std::uint64_t progress = scope_.CaptureProgress();
  if (progress == shownProgress_) return;
  shownProgress_ = progress;
  paintBox_->update();
}
