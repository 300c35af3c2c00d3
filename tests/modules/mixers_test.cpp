#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sstream>

#include "engine/mixer_kernels.h"
#include "modules/mixers.h"
#include "signal_rig.h"

namespace {

struct SKindRow {
  const char* typeName;
  const char* title;
  int workType;
  bool isMono;
  int inputs;
  int outputs;
  bool polyOutput;
};

constexpr SKindRow kKinds[] = {
    {"PolyToMono", " Combiner", 2, true, 1, 1, false},
    {"MonoAddierer", " Add audio", 2, true, 0, 1, false},
    {"PolyAddierer", " Add audio", 2, false, 0, 1, true},
    {"MonoLoudness", " Amplifier", 3, true, 2, 1, false},
    {"PolyLoudness", " Amplifier", 3, false, 2, 1, true},
    {"MonoCrossfadeAmpl", "Crossfade Ampl.", 4, false, 3, 1, false},
    {"PolyCrossfadeAmpl", "Crossfade Ampl.", 4, false, 3, 1, true},
    {"MonoCrossfadePan", "Crossfade Pan", 5, false, 3, 1, false},
    {"PolyCrossfadePan", "Crossfade Pan", 5, false, 3, 1, true},
    {"MonoStereoPan", " Stereo Pan", 6, true, 2, 2, false},
    {"PolyStereoPan", " Stereo Pan", 6, false, 2, 2, true},
    {"MonoResolution", " Resolution", 26, true, 1, 1, false},
    {"PolyResolution", " Resolution", 26, false, 1, 1, true},
    {"MonoLogicOr", " Or", 21, false, 2, 1, false},
    {"PolyLogicOr", " Or", 21, false, 2, 1, true},
    {"MonoLogicAnd", " And", 22, false, 2, 1, false},
    {"PolyLogicAnd", " And", 22, false, 2, 1, true},
    {"MonoLogicModula", " Modula", 23, false, 2, 1, false},
    {"PolyLogicModula", " Modula", 23, false, 2, 1, true},
    {"MonoLogicExor", " Exor", 24, false, 2, 1, false},
    {"PolyLogicExor", " Exor", 24, false, 2, 1, true},
    {"MonoLogicDivision", " Division", 25, false, 2, 1, false},
    {"PolyLogicDivision", " Division", 25, false, 2, 1, true},
};

std::string SoundText(const TDokumentKlang& document) {
  std::ostringstream text;
  document.WriteSound(text);
  return text.str();
}

TEST(MixerRegistry, EveryTypeNameBuildsItsKindAndSurvivesASaveAndLoad) {
  TSignalRig rig;
  for (const SKindRow& row : kKinds) {
    SCOPED_TRACE(row.typeName);
    auto& module = rig.Create<TSignalModul>(row.typeName, row.typeName);
    EXPECT_EQ(module.typeName, row.typeName);
    EXPECT_EQ(module.Title->value, row.title);
    EXPECT_EQ(module.GetWorkType(), row.workType);
    EXPECT_EQ(module.IsMono(), row.isMono);
    EXPECT_EQ(module.InputList->Count(), row.inputs);
    ASSERT_EQ(module.OutputList->Count(), row.outputs);
    EXPECT_EQ(module.OutputList->Output("1")->Type().isPoly, row.polyOutput);
  }
  bool queryOnly = true;
  CreateModuleByType("monoaddierer", queryOnly);
  EXPECT_FALSE(queryOnly);

  QTemporaryDir folder;
  const QString path = folder.filePath("mixers.zmr");
  ASSERT_TRUE(rig.document.Save(path));
  TDokumentKlang loaded;
  ASSERT_TRUE(loaded.Load(path));
  loaded.ViewSound->Title->value = rig.document.ViewSound->Title->value;
  EXPECT_EQ(SoundText(loaded), SoundText(rig.document));
  for (const SKindRow& row : kKinds) {
    auto* module = dynamic_cast<TSignalModul*>(loaded.ModuleList->Get(row.typeName).get());
    ASSERT_NE(module, nullptr) << row.typeName;
    EXPECT_EQ(module->GetWorkType(), row.workType) << row.typeName;
  }
}

TEST(MixerPorts, CaptionsAndHintsFollowTheKind) {
  TSignalRig rig;
  auto& fade = rig.Create<TSignalModul>("Fade", "MonoCrossfadePan");
  EXPECT_EQ(fade.InputList->Port("1")->Title->value, "P");
  EXPECT_EQ(fade.InputList->Port("3")->Title->value, "A2");
  EXPECT_EQ(fade.HintOf(*fade.InputList->Input("1")), "Input crossfade - signal");
  EXPECT_EQ(fade.HintOf(*fade.InputList->Input("2")), "Input mono audio");
  EXPECT_EQ(fade.Rect->GetRect(), (TRect{0, 0, 88, 68}));
  EXPECT_EQ(fade.PicturePosition(), (TPoint{28, 25}));
  auto& pan = rig.Create<TSignalModul>("Pan", "PolyStereoPan");
  EXPECT_EQ(pan.OutputList->Port("1")->Title->value, "L");
  EXPECT_EQ(pan.OutputList->Port("2")->Title->value, "R");
  EXPECT_EQ(pan.PicturePosition(), (TPoint{28, 16}));
}

// One sample of a fixed-input kind fed by constant sources, read through a sink on `output`.
struct SSignalRow {
  const char* typeName;
  std::vector<std::int32_t> inputs;
  const char* output;
  std::int32_t expected;
};

TEST(MixerSignal, FixedInputKindsComputeTheirKernelOnTheWiredValues) {
  const SSignalRow rows[] = {
      {"MonoLoudness", {1000, 2048}, "1", 1000},
      {"PolyLoudness", {-1, 1}, "1", -1},
      {"MonoCrossfadeAmpl", {1024, 300, 700}, "1", 300},
      {"PolyCrossfadeAmpl", {-1024, 300, 700}, "1", 700},
      {"MonoCrossfadePan", {1024, 100, 1000}, "1", 3 * 100 + 1000},
      {"PolyCrossfadePan", {2048, 100, 1000}, "1", 400},
      {"MonoStereoPan", {0, 100}, "1", 200},
      {"MonoStereoPan", {-2048, 100}, "1", 0},
      {"PolyStereoPan", {-2048, 100}, "2", 400},
      {"PolyStereoPan", {2048, 100}, "2", 0},
      {"MonoResolution", {2047}, "1", 2016},
      {"PolyResolution", {-1}, "1", -32},
      {"MonoLogicOr", {6, 3}, "1", 7},
      {"PolyLogicAnd", {6, 3}, "1", 2},
      {"MonoLogicModula", {-7, 3}, "1", -1},
      {"PolyLogicModula", {-7, 0}, "1", -7},
      {"MonoLogicExor", {6, 3}, "1", 4},
      {"MonoLogicDivision", {-7, 2}, "1", -3},
      {"PolyLogicDivision", {9, 0}, "1", 9},
  };
  for (const SSignalRow& row : rows) {
    SCOPED_TRACE(std::string(row.typeName) + " output " + row.output);
    TSignalRig rig;
    auto& module = rig.Create("Module", row.typeName);
    for (std::size_t i = 0; i < row.inputs.size(); ++i) {
      const std::string port = std::to_string(i + 1);
      TSignalRig::Wire(module, port, rig.Source("Src" + port, row.inputs[i]));
    }
    TPolySink& sink = rig.SinkOf(module, row.output);
    ASSERT_TRUE(rig.Start());
    rig.runner.Run(1);
    EXPECT_EQ(sink.Value(), row.expected);
  }
}

TEST(MixerSignal, PolyKindsComputeEveryVoiceFromItsOwnInputs) {
  TSignalRig rig;
  rig.document.SetVoiceCount(3);
  auto& amplifier = rig.Create("Amp", "PolyLoudness");
  TTestSource& signal = rig.Source("Signal", 0, true);
  signal.values = {100, 200, 300};
  TSignalRig::Wire(amplifier, "1", signal);
  TSignalRig::Wire(amplifier, "2", rig.Source("Gain", 1024));
  TPolySink& sink = rig.SinkOf(amplifier);
  ASSERT_TRUE(rig.Start());
  rig.runner.Run(1);
  EXPECT_EQ(sink.Value(0), 50);
  EXPECT_EQ(sink.Value(1), 100);
  EXPECT_EQ(sink.Value(2), 150);
}

TEST(MixerSignal, ACombinerSumsAllVoicesOfItsInput) {
  TSignalRig rig;
  rig.document.SetVoiceCount(4);
  auto& combiner = rig.Create("Combiner", "PolyToMono");
  TTestSource& voices = rig.Source("Voices", 0, true);
  voices.values = {1, 10, 100, 1000};
  TSignalRig::Wire(combiner, "1", voices);
  TPolySink& sink = rig.SinkOf(combiner);
  ASSERT_TRUE(rig.Start());
  rig.runner.Run(1);
  EXPECT_EQ(rig.RecordOf<SAddiererRecord>(combiner).Count, 4);
  EXPECT_EQ(sink.Value(0), 1111);
  EXPECT_EQ(sink.Value(3), 1111);
}

TEST(MixerResolution, AValueOutOfRangeIsBroughtIntoTheMaskRange) {
  TSignalRig rig;
  auto& resolution = rig.Create<TAufloesung>("Res", "MonoResolution");
  TSignalRig::Wire(resolution, "1", rig.Source("Src", 0xFFFF));
  TPolySink& sink = rig.SinkOf(resolution);
  resolution.Resolution->value = 99;
  EXPECT_EQ(resolution.Bits(), 15);
  ASSERT_TRUE(rig.Start());
  rig.runner.Run(1);
  EXPECT_EQ(sink.Value(), 0x8000);
  rig.runner.Stop();

  resolution.SetBits(-4);
  EXPECT_EQ(resolution.Resolution->value, 0);
  EXPECT_TRUE(rig.document.IsModified());
  ASSERT_TRUE(rig.Start());
  rig.runner.Run(1);
  EXPECT_EQ(sink.Value(), 0xFFFF);

  const std::vector<std::string> choices = TAufloesung::Choices();
  ASSERT_EQ(choices.size(), 16u);
  EXPECT_EQ(choices[0], "Normal");
  EXPECT_EQ(choices[5], "-5 Bit");
  EXPECT_EQ(choices[15], "-15 Bit");
}

class Adder : public ::testing::Test {
 protected:
  // An adder as the palette drops it: shown on a canvas, so it has its two inputs.
  TAddierer& NewAdder(const std::string& typeName = "MonoAddierer") {
    auto& adder = rig.Create<TAddierer>("Add", typeName);
    adder.CreatePanel(&canvas, kPanelEditable);
    return adder;
  }
  int Height(const TModul& module) const {
    return module.Rect->bottom->value - module.Rect->top->value;
  }

  TSignalRig rig;
  THeadlessCanvas canvas;
};

TEST_F(Adder, StartsWithTwoInputsAndGrowsAndShrinksInOneUndoStepEach) {
  TAddierer& adder = NewAdder("PolyAddierer");
  ASSERT_EQ(adder.InputList->Count(), 2);
  EXPECT_TRUE(adder.InputList->Port("1")->Type().isPoly);
  EXPECT_EQ(Height(adder), 59);

  adder.AddInputs(3);
  EXPECT_EQ(adder.InputList->Count(), 5);
  EXPECT_EQ(Height(adder), 110);
  TActionManager& history = rig.document.ModuleList->ActionManager;
  EXPECT_EQ(history.UndoCount(), 1);
  EXPECT_EQ(history.UndoText().find("new input") != std::string::npos, true);

  history.Undo();
  EXPECT_EQ(adder.InputList->Count(), 2);
  EXPECT_EQ(Height(adder), 59);

  // A loaded adder keeps the inputs it has.
  adder.AddInputs(1);
  adder.CreatePanel(&canvas, kPanelEditable);
  EXPECT_EQ(adder.InputList->Count(), 3);
}

TEST_F(Adder, RemovesOnlyUnconnectedInputsAndKeepsTwo) {
  TAddierer& adder = NewAdder();
  adder.AddInputs(3);
  TTestSource& source = rig.Source("Src");
  TSignalRig::Wire(adder, "2", source);
  TSignalRig::Wire(adder, "4", source);
  EXPECT_EQ(adder.RemovableInputCount(), 3);
  adder.RemoveInputs(3);
  ASSERT_EQ(adder.InputList->Count(), 2);
  EXPECT_NE(adder.InputList->Port("2"), nullptr);
  EXPECT_NE(adder.InputList->Port("4"), nullptr);
  EXPECT_EQ(adder.RemovableInputCount(), 0);

  // One connected, two unconnected: only one may go, however many are asked for.
  adder.InputList->Input("4")->Connect(nullptr, false);
  adder.AddInputs(1);
  EXPECT_EQ(adder.RemovableInputCount(), 1);
  adder.RemoveInputs(3);
  EXPECT_EQ(adder.InputList->Count(), 2);
  EXPECT_EQ(
      rig.document.ModuleList->ActionManager.UndoText().find("delete input") != std::string::npos,
      true);

  // An adder left with a single connected input by a hand-edited file has nothing to remove.
  adder.InputList->Remove(adder.InputList->Ports().back()->Key());
  EXPECT_EQ(adder.RemovableInputCount(), 0);
}

TEST_F(Adder, SumsTheConnectedInputsAndSkipsAFreeOne) {
  TAddierer& adder = NewAdder();
  adder.AddInputs(1);
  TSignalRig::Wire(adder, "1", rig.Source("A", 100));
  TSignalRig::Wire(adder, "3", rig.Source("B", 23));
  TPolySink& sink = rig.SinkOf(adder);
  ASSERT_TRUE(rig.Start());
  rig.runner.Run(1);
  EXPECT_EQ(rig.RecordOf<SAddiererRecord>(adder).Count, 2);
  EXPECT_EQ(sink.Value(), 123);
}

TEST_F(Adder, AnInputFromAnIncompleteChainTakesNoPart) {
  TAddierer& adder = NewAdder();
  auto& amplifier = rig.Create("Amp", "MonoLoudness");  // its input 2 stays free
  TSignalRig::Wire(amplifier, "1", rig.Source("A", 5));
  TSignalRig::Wire(adder, "1", amplifier);
  TPolySink& sink = rig.SinkOf(adder);
  rig.document.RevalidatePatch();
  EXPECT_FALSE(adder.IsActive(nullptr));
  EXPECT_FALSE(sink.IsActive(nullptr));

  TSignalRig::Wire(adder, "2", rig.Source("B", 7));
  ASSERT_TRUE(rig.Start());
  EXPECT_TRUE(adder.IsActive(nullptr));
  EXPECT_FALSE(amplifier.IsActive(nullptr));
  EXPECT_FALSE(TAddierer::TakesPart(*adder.InputList->Input("1")));
  rig.runner.Run(1);
  EXPECT_EQ(sink.Value(), 7);
}

// sink <- resolution <- adder <- the same resolution: a loop alone never completes.
TEST_F(Adder, AFedBackInputAloneDoesNotActivateButIsSummedOnceAnotherInputDoes) {
  TAddierer& adder = NewAdder();
  auto& loop = rig.Create<TAufloesung>("Loop", "MonoResolution");
  loop.Resolution->value = 0;
  TSignalRig::Wire(adder, "1", loop);
  TSignalRig::Wire(loop, "1", adder);
  TPolySink& sink = rig.SinkOf(loop);
  rig.document.RevalidatePatch();
  EXPECT_FALSE(adder.IsActive(nullptr));
  EXPECT_FALSE(loop.IsActive(nullptr));
  EXPECT_FALSE(sink.IsActive(nullptr));

  TSignalRig::Wire(adder, "2", rig.Source("Src", 5));
  ASSERT_TRUE(rig.Start());
  EXPECT_TRUE(adder.IsActive(nullptr));
  EXPECT_TRUE(loop.IsActive(nullptr));
  EXPECT_TRUE(sink.IsActive(nullptr));
  EXPECT_EQ(rig.RecordOf<SAddiererRecord>(adder).Count, 2);
  // The adder runs before the resolution, so each sample adds 5 to the previous sum.
  rig.runner.Run(3);
  EXPECT_EQ(sink.Value(), 15);
}

TEST_F(Adder, APolyAdderGivesEveryVoiceItsOwnSum) {
  rig.document.SetVoiceCount(2);
  TAddierer& adder = NewAdder("PolyAddierer");
  TTestSource& voices = rig.Source("Voices", 0, true);
  voices.values = {1, 2};
  TSignalRig::Wire(adder, "1", voices);
  TSignalRig::Wire(adder, "2", rig.Source("Offset", 10));
  TPolySink& sink = rig.SinkOf(adder);
  ASSERT_TRUE(rig.Start());
  rig.runner.Run(1);
  EXPECT_EQ(sink.Value(0), 11);
  EXPECT_EQ(sink.Value(1), 12);
}

}  // namespace
