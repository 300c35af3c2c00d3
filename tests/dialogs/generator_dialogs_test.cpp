// The oscillators' name dialog with "Start Random", and the wavetable editor: its size check,
// drops from the palette, removal of slots, and that only OK stores the sequence.
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollArea>
#include <memory>

#include "modules/generators.h"
#include "tests/dialogs/dialog_fixture.h"
#include "views/wavetable_editor.h"

namespace {

using GeneratorDialogTest = DialogTest;

TEST_F(GeneratorDialogTest, StartRandomIsStoredOnOkOnly) {
  TModulBild& sine = Add("PolySine", "sine");
  auto& flag = *dynamic_cast<TGenerator&>(sine).RandomStartFlag();
  const auto tick = [](QDialog& form) {
    EXPECT_FALSE(Control<QCheckBox>(form, "CheckBoxStartRandom").isChecked());
    Control<QCheckBox>(form, "CheckBoxStartRandom").setChecked(true);
    Type(form, "EditName", QStringLiteral("Osc"));
  };
  Script({[&](QDialog& form) {
    tick(form);
    PressCancel(form);
  }});
  sine.ShowProperties();
  EXPECT_EQ(flag.value, 0);
  EXPECT_EQ(sine.Title->value, " Sine");

  Script({[&](QDialog& form) {
    tick(form);
    PressOk(form);
  }});
  sine.ShowProperties();
  EXPECT_EQ(flag.value, 1);
  EXPECT_EQ(sine.Title->value, "Osc");
  EXPECT_TRUE(document.IsModified());
}

// The slot of `position` (0 on) in the open editor.
QWidget& Slot(QDialog& form, int position) {
  return Control<QWidget>(form, QStringLiteral("Slot%1").arg(position + 1).toLatin1().constData());
}

void DropWave(QDialog& form, int position, int waveCode) {
  const std::unique_ptr<QMimeData> data(WaveDragData(waveCode));
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  // Straight to the slot: the application hands drops only to the target of a running drag.
  static_cast<QObject&>(Slot(form, position)).event(&drop);
  EXPECT_TRUE(drop.isAccepted());
}

void Release(QDialog& form, int position, Qt::MouseButton button) {
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(10, 10), QPointF(10, 10), button,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&Slot(form, position), &release);
}

int SlotCount(QDialog& form) {
  QWidget* box = Control<QScrollArea>(form, "ScrollBoxWaves").widget();
  return static_cast<int>(box->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly).size());
}

void ConfirmSize(QDialog& form, const QString& size) {
  Type(form, "MaskEditSize", size);
  Control<QToolButton>(form, "SpeedButtonOkSize").click();
}

TEST_F(GeneratorDialogTest, TheWavetableSizeMustLieInOneToThirty) {
  auto& table = Add<TWavetableGenerator>("MonoWavetable", "table");
  Script({[](QDialog& form) {
    for (const char* size : {"0", "31", ""})
      ConfirmSize(form, QString::fromLatin1(size));
    EXPECT_EQ(SlotCount(form), 1);
    ConfirmSize(form, QStringLiteral("3"));
    EXPECT_EQ(SlotCount(form), 3);
    EXPECT_FALSE(Control<QToolButton>(form, "SpeedButtonOkSize").isEnabled());
    // Typed but not confirmed: OK keeps the confirmed size.
    Type(form, "MaskEditSize", QStringLiteral("5"));
    PressOk(form);
  }});
  table.ShowProperties();
  EXPECT_EQ(Faults(), std::vector<std::string>(3, "Fault: Value not in range !"));
  EXPECT_EQ(table.SizeWaves->value, 3);
  EXPECT_TRUE(document.IsModified());
}

TEST_F(GeneratorDialogTest, DropsAndRemovalsEditTheSequenceUntilOk) {
  auto& table = Add<TWavetableGenerator>("MonoWavetable", "table");
  const auto edit = [](QDialog& form) {
    ConfirmSize(form, QStringLiteral("4"));
    DropWave(form, 0, kWaveRechteck);
    DropWave(form, 1, kWaveSaegezahn);
    DropWave(form, 2, kWaveRauschen);
    DropWave(form, 3, kWaveDreieck);
    Release(form, 1, Qt::RightButton);  // only the left button removes
    EXPECT_EQ(SlotCount(form), 4);
    Release(form, 1, Qt::LeftButton);
    EXPECT_EQ(SlotCount(form), 3);
    EXPECT_EQ(Control<QLineEdit>(form, "MaskEditSize").text(), QStringLiteral("3"));
  };
  Script({[&](QDialog& form) {
    edit(form);
    PressCancel(form);
  }});
  table.ShowProperties();
  EXPECT_EQ(table.SizeWaves->value, 1);
  EXPECT_FALSE(document.IsModified());

  Script({[&](QDialog& form) {
    edit(form);
    Control<QCheckBox>(form, "CheckBoxRandomStart").setChecked(true);
    PressOk(form);
  }});
  table.ShowProperties();
  EXPECT_EQ(table.SizeWaves->value, 3);
  EXPECT_EQ(table.WaveCode(0), kWaveRechteck);
  EXPECT_EQ(table.WaveCode(1), kWaveRauschen);
  EXPECT_EQ(table.WaveCode(2), kWaveDreieck);
  EXPECT_EQ(table.StartRandom->value, 1);

  // The last slot cannot go.
  Script({[](QDialog& form) {
    ConfirmSize(form, QStringLiteral("1"));
    Release(form, 0, Qt::LeftButton);
    EXPECT_EQ(SlotCount(form), 1);
    PressOk(form);
  }});
  table.ShowProperties();
  EXPECT_EQ(table.SizeWaves->value, 1);
  EXPECT_EQ(table.WaveCode(0), kWaveRechteck);
}

}  // namespace
