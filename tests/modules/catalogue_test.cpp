// The whole catalogue at once: every registered type name, a sound holding one module of every
// kind, and a sound whose values a hand-edit has put out of range.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cctype>
#include <regex>
#include <set>
#include <sstream>

#include "engine/midi_in_file_device.h"
#include "patch/macro_modules.h"
#include "patch/module_palette.h"
#include "patch/module_registry.h"
#include "tests/modules/patch_builder.h"
#include "tests/modules/render_rig.h"

namespace {

const std::set<std::string> kPanelItems = {"ViewFader", "ViewText", "VolumeView"};

std::string SoundText(const TDokumentKlang& document) {
  std::ostringstream text;
  document.WriteSound(text);
  return text.str();
}

TEST(Catalogue, TheRegistryKnowsExactlyThePaletteAndThePanelItems) {
  std::set<std::string> expected = kPanelItems;
  for (const SPaletteEntry& entry : PaletteEntries())
    expected.insert(entry.typeName);
  const std::vector<std::string> names = RegisteredTypeNames();
  EXPECT_EQ(names.size(), 84u);
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
  for (std::string name : names) {
    name[0] =
        static_cast<char>(std::islower(name[0]) ? std::toupper(name[0]) : std::tolower(name[0]));
    bool known = true;
    CreateModuleByType(name, known);
    EXPECT_FALSE(known) << name;
  }
  bool known = true;
  CreateModuleByType("PolyNoise", known);
  EXPECT_FALSE(known);
}

// One module of every kind: signal modules in the patch, the inner inputs and outputs inside a
// macro, the panel items on the Panel tab.
void PlaceEveryKind(TDokumentKlang& document) {
  auto& macro = Create<TModulKomponent>(document, "Macro", "Modul");
  for (const std::string& name : RegisteredTypeNames()) {
    if (name == "Modul") continue;
    bool queryOnly = false;
    TRPointer<TModul> module = CreateModuleByType(name, queryOnly);
    TModuleListe& list = IsMacroPortType(name)        ? *macro.Inside
                         : kPanelItems.contains(name) ? *document.ViewSound->ModuleList
                                                      : *document.ModuleList;
    module->parent = &list;
    list.Add(name, module);
    EXPECT_EQ(module->typeName, name);
  }
}

TEST(Catalogue, ASoundOfEveryKindPlaysAndReadsBackAsItWasWritten) {
  QTemporaryDir folder;
  TRenderRig rig;
  PlaceEveryKind(rig.Document());
  rig.Render(2205);
  const QString path = folder.filePath("every.zmr");
  ASSERT_TRUE(rig.Document().Save(path));
  TDokumentKlang loaded;
  ASSERT_TRUE(loaded.Load(path));
  EXPECT_EQ(SoundText(loaded), SoundText(rig.Document()));
}

// Chains that bind every repaired value: constants, a wavetable, a delay, a resolution, a key
// with its offset and tuning, and a scope, each complete up to a sink.
void PlaceRepairedChains(TDokumentKlang& document) {
  auto& level = Create(document, "Level", "ConstAnalog");
  auto& pitch = Create(document, "Pitch", "ConstFrequenz");
  auto& delay = Create(document, "Delay", "MonoDelay");
  auto& wavetable = Create(document, "Table", "MonoWavetable");
  auto& resolution = Create(document, "Bits", "MonoResolution");
  auto& midi = Create(document, "Midi", "MidiIn");
  auto& key = Create(document, "Key", "MidiKey");
  auto& sine = Create(document, "Sine", "PolySine");
  auto& combiner = Create(document, "Mix", "PolyToMono");
  auto& speaker = Create(document, "Out", "SpeakerStereo");
  auto& scope = Create(document, "Scope", "OutputLook");
  Wire(level, wavetable, "1");
  Wire(pitch, wavetable, "2");
  Wire(wavetable, delay);
  Wire(delay, resolution);
  Wire(midi, key);
  Wire(key, sine, "1", "1");
  Wire(key, sine, "2", "2");
  Wire(sine, combiner);
  Wire(resolution, speaker, "1");
  Wire(combiner, speaker, "2");
  Wire(resolution, scope);
}

TEST(Catalogue, ValuesAHandEditPutOutOfRangeAreRepairedBeforeTheyAreUsed) {
  QTemporaryDir folder;
  {
    TDokumentKlang document;
    PlaceRepairedChains(document);
    std::string text = "\n" + SoundText(document);
    for (const auto& [key, value] :
         std::vector<std::pair<std::string, std::string>>{{"CountVoices", "99"},
                                                          {"DelayTime", "-5"},
                                                          {"SizeWaves", "99"},
                                                          {"Wave0", "77"},
                                                          {"Wave1", "-4"},
                                                          {"Resolution", "99"},
                                                          {"MinValue", "99999999"},
                                                          {"NoteOffset", "500"},
                                                          {"FineTune", "-99"},
                                                          {"Volume", "999999"},
                                                          {"Time", "0"}}) {
      text = std::regex_replace(text, std::regex("\n" + key + " [^\n]*"), "\n" + key + " " + value);
    }
    text.erase(0, 1);
    QFile file(folder.filePath("edited.zmr"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
  }
  TRenderRig rig({{0, 0x90, 127, 127}, {1000, 0x90, 0, 1}, {3000, 0x80, 127, 0}});
  ASSERT_TRUE(rig.Document().Load(folder.filePath("edited.zmr")));
  EXPECT_EQ(rig.Document().Engine().CountVoices(), TKlangEngine::kMaxVoices);
  ASSERT_EQ(rig.Start(), 0);
  rig.Run(4410);
  const SRenderedSound sound = rig.Finish();
  EXPECT_GT(sound.FrameCount(), 0u);
}

}  // namespace
