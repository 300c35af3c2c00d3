#include "views/wavetable_editor.h"

#include <QApplication>
#include <QCheckBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <array>
#include <vector>

#include "platform/text_codec.h"
#include "resources/artwork.h"

namespace {

constexpr int kNameLength = 50;
const QString kWaveMime = QStringLiteral("application/x-zelmar-wave-code");
constexpr QSize kPaletteSize{60, 54};
constexpr QSize kSlotSize{45, 51};
constexpr int kSlotStep = 46;
constexpr int kSlotMargin = 5;
constexpr QSize kMinimumSize{340, 200};

struct SPaletteWave {
  const char* name;
  const char* caption;
  const char* picture;
};

// By wave code: the tag of each palette button.
constexpr std::array<SPaletteWave, kWaveCodeCount> kPalette{{
    {"BitBtnSinus", "Sinus", "BITMAP_SINUSGENERATOR"},
    {"BitBtnDreieck", "Triangle", "BITMAP_DREIECKGENERATOR"},
    {"BitBtnRechteck", "Square", "BITMAP_RECHTECKGENERATOR"},
    {"BitBtnSaegezahn", "Saw", "BITMAP_SAEGEZAHNGENERATOR"},
    {"BitBtnRauschen", "Noise", "BITMAP_RAUSCHGENERATOR"},
}};

QIcon WavePicture(int waveCode) {
  return {
      ArtworkPixmap(QString::fromLatin1(kPalette.at(static_cast<std::size_t>(waveCode)).picture),
                    qApp->devicePixelRatio())};
}

// The dropped wave code, or -1 when the data is not a palette wave.
int DroppedWave(const QMimeData* data) {
  if (data == nullptr || !data->hasFormat(kWaveMime)) return -1;
  bool number = false;
  const int code = QString::fromLatin1(data->data(kWaveMime)).toInt(&number);
  return number && code >= 0 && code < kWaveCodeCount ? code : -1;
}

// A palette button starts dragging its wave as soon as the mouse moves with the button held.
class TPaletteButton : public QToolButton {
 public:
  explicit TPaletteButton(int waveCode) : waveCode_(waveCode) {
    const SPaletteWave& wave = kPalette.at(static_cast<std::size_t>(waveCode));
    setObjectName(QString::fromLatin1(wave.name));
    setText(QString::fromLatin1(wave.caption));
    setIcon(WavePicture(waveCode));
    setIconSize(ArtworkSize(QString::fromLatin1(wave.picture)));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setFixedSize(kPaletteSize);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
  }

 protected:
  void mouseMoveEvent(QMouseEvent* event) override {
    if (!(event->buttons() & Qt::LeftButton)) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(WaveDragData(waveCode_));
    drag->setPixmap(icon().pixmap(iconSize()));
    setDown(false);
    drag->exec(Qt::CopyAction);
  }

 private:
  int waveCode_;
};

}  // namespace

QMimeData* WaveDragData(int waveCode) {
  auto* data = new QMimeData;
  data->setData(kWaveMime, QByteArray::number(waveCode));
  return data;
}

TWaveSlot::TWaveSlot(int position, int waveCode, QWidget* parent)
    : QToolButton(parent), position_(position) {
  setObjectName(QStringLiteral("Slot%1").arg(position + 1));
  setText(QString::number(position + 1));
  setIcon(WavePicture(waveCode));
  setIconSize(
      ArtworkSize(QString::fromLatin1(kPalette.at(static_cast<std::size_t>(waveCode)).picture)));
  setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  setGeometry(kSlotMargin + kSlotStep * position, kSlotMargin, kSlotSize.width(),
              kSlotSize.height());
  setAcceptDrops(true);
}

void TWaveSlot::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedWave(event->mimeData()) >= 0) event->acceptProposedAction();
}

void TWaveSlot::dropEvent(QDropEvent* event) {
  const int code = DroppedWave(event->mimeData());
  if (code < 0) return;
  event->acceptProposedAction();
  setIcon(WavePicture(code));
  if (onDrop) onDrop(position_, code);
}

void TWaveSlot::mouseReleaseEvent(QMouseEvent* event) {
  setDown(false);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
      onRelease) {
    onRelease(position_);
  }
}

TFormWaveTable::TFormWaveTable(TWavetableGenerator& module)
    : TModuleDialog(module),
      module_(module),
      edit_(module),
      EditName(AddEdit(QStringLiteral("Name"), "EditName", kNameLength)),
      CheckBoxRandomStart(new QCheckBox(QStringLiteral("Start Random"))),
      ScrollBoxWaves(new QScrollArea),
      slots_(new QWidget) {
  layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
  setMinimumSize(kMinimumSize);
  EditName->setText(FromFileText(edit_.name));
  AddSizeRow();
  CheckBoxRandomStart->setObjectName(QStringLiteral("CheckBoxRandomStart"));
  CheckBoxRandomStart->setChecked(edit_.randomStart);
  AddBelow(CheckBoxRandomStart, false);
  AddPalette();

  ScrollBoxWaves->setObjectName(QStringLiteral("ScrollBoxWaves"));
  ScrollBoxWaves->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ScrollBoxWaves->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  ScrollBoxWaves->setBackgroundRole(QPalette::Mid);
  ScrollBoxWaves->setWidget(slots_);
  ScrollBoxWaves->setMinimumHeight(kSlotSize.height() + 2 * kSlotMargin +
                                   ScrollBoxWaves->horizontalScrollBar()->sizeHint().height());
  AddBelow(ScrollBoxWaves, true);
  ShowCount();
  RebuildSlots();
}

void TFormWaveTable::AddSizeRow() {
  MaskEditSize = new QLineEdit;
  MaskEditSize->setObjectName(QStringLiteral("MaskEditSize"));
  MaskEditSize->setInputMask(QStringLiteral("99;_"));
  MaskEditSize->setFixedWidth(
      MaskEditSize->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
  SpeedButtonOkSize = new QToolButton;
  SpeedButtonOkSize->setObjectName(QStringLiteral("SpeedButtonOkSize"));
  SpeedButtonOkSize->setText(QStringLiteral("OK"));
  AddRow(QStringLiteral("Size"),
         InOneLine({MaskEditSize, SpeedButtonOkSize, new QLabel(QStringLiteral("( 1 - 30 )"))}),
         MaskEditSize);
  connect(MaskEditSize, &QLineEdit::textEdited, SpeedButtonOkSize,
          [this] { SpeedButtonOkSize->setEnabled(true); });
  connect(SpeedButtonOkSize, &QToolButton::clicked, this, [this] { SpeedButtonOkSizeClick(); });
}

void TFormWaveTable::AddPalette() {
  std::vector<QWidget*> waves;
  for (int code = 0; code < kWaveCodeCount; ++code)
    waves.push_back(new TPaletteButton(code));
  AddBelow(InOneLine(waves), true);
}

void TFormWaveTable::SpeedButtonOkSizeClick() {
  const std::string fault = edit_.ConfirmSize(ToFileText(MaskEditSize->text()));
  if (!fault.empty()) {
    ShowFault(TWavetableEdit::kFaultCaption, fault);
    return;
  }
  SpeedButtonOkSize->setEnabled(false);
  RebuildSlots();
}

void TFormWaveTable::RebuildSlots() {
  for (QWidget* slot : slots_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    // A slot may be rebuilt from inside its own mouse event.
    slot->hide();
    slot->setParent(nullptr);
    slot->deleteLater();
  }
  for (int position = 0; position < edit_.Count(); ++position) {
    auto* slot = new TWaveSlot(position, edit_.Code(position), slots_);
    slot->onDrop = [this](int at, int code) { edit_.DropWave(at, code); };
    slot->onRelease = [this](int at) { RemoveSlot(at); };
    slot->show();
  }
  slots_->setFixedSize(2 * kSlotMargin + kSlotStep * edit_.Count(),
                       2 * kSlotMargin + kSlotSize.height());
}

void TFormWaveTable::RemoveSlot(int position) {
  if (!edit_.RemoveSlot(position)) return;
  RebuildSlots();
  ShowCount();
}

void TFormWaveTable::ShowCount() {
  MaskEditSize->setText(QString::number(edit_.Count()));
  SpeedButtonOkSize->setEnabled(false);
}

bool TFormWaveTable::Accept() {
  edit_.name = ToFileText(EditName->text());
  edit_.randomStart = CheckBoxRandomStart->isChecked();
  edit_.Apply(module_);
  return true;
}

void AddWavetableDialogs(TModuleDialogOpeners& openers) {
  AddModuleDialog<TFormWaveTable, TWavetableGenerator>(openers,
                                                       std::string(TWavetableGenerator::kDialog));
}
