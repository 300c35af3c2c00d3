#include "views/keyboard_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "platform/text_codec.h"

namespace {

constexpr int kNameLength = 40;
constexpr int kMaxPercent = 200;
constexpr int kTrackBarWidth = 160;

QGroupBox* Group(const QString& title) {
  auto* group = new QGroupBox(title);
  new QGridLayout(group);
  return group;
}

QGridLayout& GridOf(QGroupBox& group) { return *static_cast<QGridLayout*>(group.layout()); }

}  // namespace

TFormKeyboard::TFormKeyboard(TBasisMidiTaste& keys)
    : TModuleDialog(keys),
      keys_(keys),
      EditName(AddEdit(QStringLiteral("Name"), "EditName", kNameLength)),
      CheckBoxMidiVelocity(new QCheckBox(QStringLiteral("Ignore midi velocity"))) {
  EditName->setText(FromFileText(keys.Title->value));
  const int offset = TBasisMidiTaste::kMaxNoteOffset;
  const int fine = TBasisMidiTaste::kMaxFineTune;
  QGroupBox* tuning = Group(QStringLiteral(" Note offset "));
  TrackBarNoteOffset =
      AddTrackBar(*tuning, "TrackBarNoteOffset", 2 * offset, keys.NoteOffset->value + offset,
                  offset, QStringLiteral("-17"), QStringLiteral("+17"));
  TrackBarFineTuning =
      AddTrackBar(*tuning, "TrackBarFineTuning", 2 * fine, keys.FineTune->value + fine, fine,
                  QStringLiteral("-15"), QStringLiteral("+15"));
  QGroupBox* volume = Group(QStringLiteral(" Volume "));
  TrackBarVolume =
      AddTrackBar(*volume, "TrackBarVolume", kMaxPercent, PercentOfVolume(keys.Volume->value), 0,
                  QStringLiteral("0"), QStringLiteral("200%"));
  CheckBoxMidiVelocity->setObjectName(QStringLiteral("CheckBoxMidiVelocity"));
  CheckBoxMidiVelocity->setChecked(keys.IgnoreVelocity->value != 0);
  GridOf(*volume).addWidget(CheckBoxMidiVelocity, GridOf(*volume).rowCount(), 0, 1, 4);
  AddBelow(tuning, true);
  AddBelow(volume, true);
}

QSlider* TFormKeyboard::AddTrackBar(QGroupBox& group, const char* name, int maximum, int position,
                                    int shownOffset, const QString& first, const QString& last) {
  auto* bar = new QSlider(Qt::Horizontal);
  bar->setObjectName(QString::fromLatin1(name));
  bar->setRange(0, maximum);
  bar->setFixedWidth(kTrackBarWidth);
  auto* shown = new QLabel;
  shown->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  shown->setMinimumWidth(shown->fontMetrics().horizontalAdvance(QStringLiteral("-000")));
  connect(bar, &QSlider::valueChanged, shown,
          [shown, shownOffset](int value) { shown->setNum(value - shownOffset); });
  bar->setValue(position);
  shown->setNum(bar->value() - shownOffset);
  QGridLayout& grid = GridOf(group);
  const int row = grid.rowCount();
  grid.addWidget(new QLabel(first), row, 0, Qt::AlignRight);
  grid.addWidget(bar, row, 1);
  grid.addWidget(new QLabel(last), row, 2);
  grid.addWidget(shown, row, 3);
  return bar;
}

bool TFormKeyboard::Accept() {
  StoreTitle(keys_, *EditName);
  keys_.NoteOffset->value = TrackBarNoteOffset->value() - TBasisMidiTaste::kMaxNoteOffset;
  keys_.FineTune->value = TrackBarFineTuning->value() - TBasisMidiTaste::kMaxFineTune;
  keys_.Volume->value = VolumeOfPercent(TrackBarVolume->value());
  keys_.IgnoreVelocity->value = CheckBoxMidiVelocity->isChecked() ? 1 : 0;
  return true;
}

void AddKeyboardDialogs(TModuleDialogOpeners& openers) {
  AddModuleDialog<TFormKeyboard, TBasisMidiTaste>(openers, std::string(TBasisMidiTaste::kDialog));
}
