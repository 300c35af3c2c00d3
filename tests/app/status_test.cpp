// The voice menu, the processor display, the module palette and the help key.
#include <QComboBox>
#include <algorithm>

#include "app/help_key.h"
#include "app/help_window.h"
#include "app/module_palette_page.h"
#include "app/processor_display.h"
#include "app/sample_drop.h"
#include "app/sound_window.h"
#include "main_frame_fixture.h"
#include "patch/modul.h"
#include "patch/modul_bild.h"

namespace {

QStringList Ticked(TMainActions& actions) {
  QStringList ticked;
  for (QAction* item : actions.VoiceCounts->actions()) {
    if (item->isChecked()) ticked << item->text();
  }
  return ticked;
}

TEST_F(MainFrameTest, VoiceTicksFollowTheMenuAndTheVoiceList) {
  frame.Session().NewSound();
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
  // Every sample has its panel, stacked down the left edge in the category's order.
  std::vector<const TModul*> samples;
  for (const auto& [key, child] : palette->Samples().Children())
    samples.push_back(dynamic_cast<const TModul*>(child.get()));
  ASSERT_GT(samples.size(), 1u);
  std::ranges::sort(samples, {}, [](const TModul* m) { return m->Rect->GetRect().top; });
  EXPECT_EQ(samples.front()->typeName, "PolyToMono");
  int bottom = 0;
  for (const TModul* sample : samples) {
    EXPECT_TRUE(sample->IsShown()) << sample->typeName;
    EXPECT_EQ(sample->Rect->GetRect().left, 5);
    EXPECT_EQ(sample->Rect->GetRect().top, bottom + 8) << sample->typeName;
    bottom = sample->Rect->GetRect().bottom;
  }
  frame.Session().NewSound();
  EXPECT_FALSE(ListTakesType(*Document().ModuleList, "ModulMInAnalog"));
  EXPECT_TRUE(ListTakesType(*Document().ModuleList, "PolyToMono"));
}

}  // namespace

// F1 opens the topic of the one selected module of the front page, else the contents.
TEST_F(MainFrameTest, HelpKeyOpensTheTopicOfTheSelectedModule) {
  frame.Session().OpenFile(Example("fm_bell.zmr"));
  frame.SoundWindow()->Pages().setCurrentIndex(1);
  TModuleListe& list = *frame.SoundWindow()->FrontList();
  list.UnmarkAll();
  ShowFocusedHelp(frame.Area());
  EXPECT_EQ(HelpWindow().CurrentTopic(), 0);
  auto* module = dynamic_cast<TModulBild*>(list.Children().begin()->second.get());
  ASSERT_NE(module, nullptr);
  module->SelectOnly();
  ShowFocusedHelp(frame.Area());
  const int topic = HelpWindow().CurrentTopic();
  EXPECT_NE(topic, 0);
  HelpWindow().ShowHelpTopic(0);
  module->ShowHelp();
  EXPECT_EQ(HelpWindow().CurrentTopic(), topic);
}
