// The voice menu, the processor display and the module palette.
#include <QComboBox>

#include "app/module_palette_page.h"
#include "app/processor_display.h"
#include "app/sample_drop.h"
#include "app/sound_window.h"
#include "main_frame_fixture.h"

namespace {

QStringList Ticked(TMainActions& actions) {
  QStringList ticked;
  for (QAction* item : actions.VoiceCounts->actions()) {
    if (item->isChecked()) ticked << item->text();
  }
  return ticked;
}

TEST_F(MainFrameTest, VoiceTicksFollowTheMenuAndTheVoiceList) {
  frame.NewSound();
  EXPECT_EQ(Ticked(frame.Actions()), QStringList({"1"}));
  frame.Actions().VoiceCounts->actions()[3]->trigger();
  EXPECT_EQ(Document().CountVoices->value, 4);
  EXPECT_EQ(Ticked(frame.Actions()), QStringList({"4"}));
  QComboBox* voices = frame.SoundWindow()->findChild<QComboBox*>();
  ASSERT_NE(voices, nullptr);
  EXPECT_EQ(voices->currentText(), "4");
  voices->setCurrentIndex(38);
  emit voices->activated(38);
  EXPECT_EQ(Document().CountVoices->value, 39);
  EXPECT_EQ(Ticked(frame.Actions()), QStringList({"39"}));
}

TEST(ProcessorLookTest, GreenUpToFullLoadAndRedAbove) {
  struct SCase {
    bool playing;
    int percent;
    const char* text;
    QColor background;
  };
  const SCase cases[] = {{true, 100, "100%", QColor(0, 128, 0)},
                         {true, 101, "101%", QColor(255, 0, 0)},
                         {false, 50, "0 %", QColor()}};
  for (const SCase& c : cases) {
    const SProcessorLook look = ProcessorLook(c.playing, c.percent);
    EXPECT_EQ(look.text, c.text);
    EXPECT_EQ(look.background, c.background) << c.percent;
  }
  EXPECT_EQ(ProcessorLook(true, 100).foreground, QColor(Qt::white));
}

TEST_F(MainFrameTest, MixerNodeShowsItsSamplesAndSoundsRefuseInnerInputs) {
  auto* palette = frame.findChild<TModulePalettePage*>();
  ASSERT_NE(palette, nullptr);
  palette->ShowCategory("Mixer");
  ASSERT_GT(palette->Samples().count(), 0);
  EXPECT_EQ(palette->Samples().item(0)->data(Qt::UserRole).toString(), "PolyToMono");
  frame.NewSound();
  EXPECT_FALSE(ListTakesType(*Document().ModuleList, "ModulMInAnalog"));
  EXPECT_TRUE(ListTakesType(*Document().ModuleList, "PolyToMono"));
}

}  // namespace
