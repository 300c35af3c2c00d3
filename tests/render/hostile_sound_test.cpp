// Sound files that a careless or hostile hand wrote: wires between ports whose kinds do not fit,
// and loops that only cross macro boundaries. Each must load, say what it dropped and render.
#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "cli/headless_renderer.h"
#include "engine/midi_file.h"
#include "patch/dokument_klang.h"
#include "patch/macro_modules.h"
#include "support/scratch_folder.h"
#include "tests/modules/patch_builder.h"

namespace {

namespace fs = std::filesystem;

struct SWire {
  std::string input;
  std::string inputType;
  std::string module;  // empty: the input is free
  std::string output;
};

std::string PortText(const SWire& wire) {
  std::string text = "BEGIN " + wire.input + " " + wire.inputType + "\n";
  if (!wire.module.empty()) {
    text += "ModuleName \"" + wire.module + "\"\nOther \"" + wire.output + "\"\n";
  }
  return text + "END\n";
}

// A module block; `inside` is put in before its end (a macro's output list and module list).
std::string ModuleText(const std::string& key, const std::string& type,
                       const std::vector<SWire>& inputs = {}, const std::string& inside = "") {
  std::string text = "BEGIN " + key + " " + type + "\n";
  if (!inputs.empty()) {
    text += "BEGIN InputList \n";
    for (const SWire& wire : inputs)
      text += PortText(wire);
    text += "END\n";
  }
  return text + inside + "END\n";
}

std::string SoundText(const std::string& modules) {
  return "CountVoices 2\nBEGIN ModuleList \n" + modules + "END\nEND\n";
}

// A macro that passes its input straight to its output; its input is fed by `feed`.
std::string PassThroughMacro(const std::string& key, const SWire& feed) {
  const std::string inside =
      "BEGIN OutputList \nBEGIN Out OMA\nEND\nEND\n"
      "BEGIN ModuleList \n" +
      ModuleText("In", "ModulMInAnalog") +
      ModuleText("Out", "ModulMOutAnalog", {{"1", "IMA", "In", "1"}}) + "END\n";
  return ModuleText(key, "Modul", {feed}, inside);
}

// A silent constant and a MIDI-played voice mixed into a speaker; input "3" of the mixer and
// whatever `extra` holds are left to each case.
std::string Skeleton(const SWire& mixThird, const SWire& keyInput, const std::string& extra) {
  return ModuleText("Zero", "ConstAnalog") + ModuleText("Freq", "ConstFrequenz") +
         ModuleText("Midi", "MidiIn") + ModuleText("Key", "MidiKey", {keyInput}) +
         ModuleText("Comb", "PolyToMono", {{"1", "IPA", "Key", "1"}}) +
         ModuleText("Mix", "MonoAddierer",
                    {{"1", "IMA", "Zero", "1"}, {"2", "IMA", "Comb", "1"}, mixThird}) +
         ModuleText("Speaker", "Speaker", {{"1", "IMA", "Mix", "1"}}) + extra;
}

const SWire kFreeThird{"3", "IMA", "", ""};
const SWire kMidiToKey{"1", "IM", "Midi", "1"};

class HostileSound : public TScratchFolderTest {
 protected:
  void SetUp() override {
    TScratchFolderTest::SetUp();
    midi = folder / "note.mid";
    const auto bytes = EncodeMidiFile({{0, 0x90, 60, 100}, {240, 0x80, 60, 0}}, 480, 500000);
    std::ofstream(midi, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }

  fs::path Write(const std::string& text) {
    const fs::path path = folder / "sound.zmr";
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  // Renders a fifth of a second with one note; the render's standard error goes to `said`.
  bool Render(const fs::path& sound, SRenderSummary& summary, std::string& said) {
    SRenderRequest request;
    request.sound = sound;
    request.output = folder / "out.wav";
    request.midi = midi;
    request.seconds = 0.2;
    request.seed = 1;
    std::string error;
    testing::internal::CaptureStderr();
    const bool rendered = RenderSound(request, summary, error);
    said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(rendered) << error;
    return rendered;
  }

  fs::path midi;
};

// The input `key` of the module at `path` ("Group.Out": module Out inside macro Group).
TEingang* InputAt(TModuleListe& list, const std::string& path, const std::string& key) {
  const std::size_t dot = path.find('.');
  TRPointerPropTyp module = list.Get(path.substr(0, dot));
  if (dot != std::string::npos) {
    auto* macro = dynamic_cast<TModulKomponent*>(module.get());
    return macro ? InputAt(*macro->Inside, path.substr(dot + 1), key) : nullptr;
  }
  auto* working = dynamic_cast<TModulArbeiten*>(module.get());
  return working ? working->InputList->Input(key) : nullptr;
}

struct SMismatch {
  const char* name;
  SWire mixThird;
  SWire keyInput;
  std::string extra;
  // The input whose wire is dropped.
  std::string module;
  std::string input;

  std::string Warning() const { return "module \"" + module + "\", input \"" + input + "\""; }
};

TEST_F(HostileSound, AWireBetweenKindsThatDoNotFitIsDroppedWithOneWarningAndTheRestPlays) {
  const SMismatch cases[] = {
      {"MIDI into audio", {"3", "IMA", "Midi", "1"}, kMidiToKey, "", "Mix", "3"},
      {"poly into mono", {"3", "IMA", "Key", "1"}, kMidiToKey, "", "Mix", "3"},
      {"frequency into audio", {"3", "IMA", "Freq", "1"}, kMidiToKey, "", "Mix", "3"},
      {"audio into MIDI", kFreeThird, {"1", "IM", "Zero", "1"}, "", "Key", "1"},
      {"audio into frequency", kFreeThird, kMidiToKey,
       ModuleText("Sine", "MonoSine", {{"1", "IMA", "Zero", "1"}, {"2", "IMF", "Zero", "1"}}),
       "Sine", "2"},
      {"MIDI into audio inside a macro",
       {"3", "IMA", "Group", "Out"},
       kMidiToKey,
       ModuleText("Group", "Modul", {{"Notes", "IM", "Midi", "1"}},
                  "BEGIN OutputList \nBEGIN Out OMA\nEND\nEND\nBEGIN ModuleList \n" +
                      ModuleText("Notes", "ModulInMidi") +
                      ModuleText("Out", "ModulMOutAnalog", {{"1", "IMA", "Notes", "1"}}) + "END\n"),
       "Group.Out",
       "1"},
  };
  for (const SMismatch& mismatch : cases) {
    SCOPED_TRACE(mismatch.name);
    const fs::path sound =
        Write(SoundText(Skeleton(mismatch.mixThird, mismatch.keyInput, mismatch.extra)));
    {
      TMessages messages;
      TDokumentKlang document;
      ASSERT_TRUE(document.Load(QString::fromStdString(sound.string())));
      ASSERT_EQ(messages.shown.size(), 1u);
      EXPECT_EQ(messages.shown[0].icon, TMessageIcon::Warning);
      EXPECT_EQ(messages.shown[0].text.toStdString().rfind(mismatch.Warning(), 0), 0u)
          << messages.shown[0].text.toStdString();
      TEingang* input = InputAt(*document.ModuleList, mismatch.module, mismatch.input);
      ASSERT_NE(input, nullptr);
      EXPECT_TRUE(input->ModuleName->value.empty());
    }
    SRenderSummary summary;
    std::string said;
    ASSERT_TRUE(Render(sound, summary, said));
    EXPECT_NE(said.find("warning: " + mismatch.Warning()), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  }
}

TEST_F(HostileSound, PastingAWireBetweenKindsThatDoNotFitDropsItWithAWarning) {
  TMessages messages;
  TDokumentKlang document;
  std::istringstream clipboard(ModuleText("Midi", "MidiIn") +
                               ModuleText("Mix", "MonoAddierer", {{"1", "IMA", "Midi", "1"}}) +
                               "END\n");
  ASSERT_EQ(document.ModuleList->Paste(clipboard, nullptr), 2);
  auto* mix = dynamic_cast<TModulArbeiten*>(document.ModuleList->Get("Mix").get());
  ASSERT_NE(mix, nullptr);
  EXPECT_TRUE(mix->InputList->Input("1")->IsFree());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(messages.shown[0].text.startsWith("module \"Mix\", input \"1\""));
}

TEST_F(HostileSound, APortOfTheWrongDirectionIsSkippedWhenPasted) {
  TDokumentKlang document;
  const std::string text = ModuleText("Mix", "MonoAddierer", {{"1", "OMA", "", ""}},
                                      "BEGIN OutputList \nBEGIN 2 IMA\nEND\nEND\n") +
                           "END\n";
  // The second paste renames the pasted module, which walks the outputs it has.
  for (int paste = 0; paste < 2; ++paste) {
    std::istringstream clipboard(text);
    ASSERT_EQ(document.ModuleList->Paste(clipboard, nullptr), 1);
  }
  auto* mix = dynamic_cast<TModulArbeiten*>(document.ModuleList->Get("Mix").get());
  ASSERT_NE(mix, nullptr);
  EXPECT_EQ(mix->InputList->Port("1"), nullptr);
  EXPECT_EQ(mix->OutputList->Port("2"), nullptr);
}

// The mixer hears the loop and a constant at zero: a loop through boundaries carries no signal,
// so the sound starts, ends and is silent.
TEST_F(HostileSound, ALoopThroughMacroBoundariesRendersSilence) {
  const struct {
    const char* name;
    std::string macros;
  } loops[] = {
      {"a macro fed by its own output", PassThroughMacro("Loop", {"In", "IMA", "Loop", "Out"})},
      {"two macros feeding each other", PassThroughMacro("Loop", {"In", "IMA", "Back", "Out"}) +
                                            PassThroughMacro("Back", {"In", "IMA", "Loop", "Out"})},
  };
  for (const auto& loop : loops) {
    SCOPED_TRACE(loop.name);
    const std::string modules =
        "BEGIN Zero ConstAnalog\nValue 0\nEND\n" + loop.macros +
        ModuleText("Mix", "MonoAddierer",
                   {{"1", "IMA", "Loop", "Out"}, {"2", "IMA", "Zero", "1"}}) +
        ModuleText("Speaker", "Speaker", {{"1", "IMA", "Mix", "1"}});
    SRenderSummary summary;
    std::string said;
    ASSERT_TRUE(Render(Write(SoundText(modules)), summary, said));
    EXPECT_EQ(summary.peak, 0);
  }
}

}  // namespace
