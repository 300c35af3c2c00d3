// The keyboard dialog stores the tuning and volume on OK; the controllers' max-value dialog
// refuses a value outside -999..999 with its message and is offered again, unchanged.
#include <QCheckBox>
#include <QSlider>

#include "modules/midi.h"
#include "tests/dialogs/dialog_fixture.h"

namespace {

using MidiDialogTest = DialogTest;

TEST_F(MidiDialogTest, TheKeyboardDialogStoresTuningAndVolume) {
  auto& keys = Add<TBasisMidiTaste>("MidiKey", "keys");
  keys.NoteOffset->value = 12;
  keys.Volume->value = VolumeOfPercent(100);
  Script({[](QDialog& form) {
    EXPECT_EQ(Control<QSlider>(form, "TrackBarNoteOffset").value(), 29);
    EXPECT_EQ(Control<QSlider>(form, "TrackBarVolume").value(), 100);
    Control<QSlider>(form, "TrackBarNoteOffset").setValue(0);
    Control<QSlider>(form, "TrackBarFineTuning").setValue(30);
    Control<QSlider>(form, "TrackBarVolume").setValue(200);
    Control<QCheckBox>(form, "CheckBoxMidiVelocity").setChecked(true);
    PressOk(form);
  }});
  keys.ShowProperties();
  EXPECT_EQ(keys.NoteOffset->value, -17);
  EXPECT_EQ(keys.FineTune->value, 15);
  EXPECT_EQ(keys.Volume->value, TBasisMidiTaste::kMaxVolume);
  EXPECT_EQ(keys.IgnoreVelocity->value, 1);
  EXPECT_TRUE(document.IsModified());
}

TEST_F(MidiDialogTest, TheMaxValueDialogIsOfferedAgainUntilTheValueFits) {
  auto& pitch = Add<TMidiController>("MidiPitch", "pitch");
  const std::int32_t stored = pitch.MaxValue->value;
  const auto showsStored = [stored](QDialog& form) {
    EXPECT_EQ(Control<QLineEdit>(form, "EditMaxValue").text(), QString::number(stored));
    EXPECT_EQ(Control<QLineEdit>(form, "EditName").text(), QStringLiteral(" Pitchbend"));
  };
  Script({[&](QDialog& form) {
            Type(form, "EditName", QStringLiteral("Bend"));
            TypeAndOk("EditMaxValue", QStringLiteral("1000"))(form);
          },
          [&](QDialog& form) {
            showsStored(form);
            TypeAndOk("EditMaxValue", QStringLiteral("-1000"))(form);
          },
          [&](QDialog& form) {
            showsStored(form);
            PressCancel(form);
          }});
  pitch.ShowProperties();
  EXPECT_EQ(captions.size(), 3u);
  EXPECT_EQ(Faults(),
            std::vector<std::string>(2, "Fault Pitchbend: Value must between -999 and 999 !"));
  EXPECT_EQ(pitch.MaxValue->value, stored);
  EXPECT_FALSE(document.IsModified());

  for (const int fits : {-999, 999}) {
    Script({TypeAndOk("EditMaxValue", QString::number(fits))});
    pitch.ShowProperties();
    EXPECT_EQ(pitch.MaxValue->value, fits);
  }
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_TRUE(document.IsModified());
}

}  // namespace
