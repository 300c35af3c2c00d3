#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <set>
#include <sstream>

#include "engine/offline_runner.h"
#include "modules/generators.h"
#include "modules/wavetable_editing.h"
#include "tests/model/model_fixture.h"
#include "tests/modules/render_rig.h"

namespace {

constexpr std::int32_t kUnity = 2048;
constexpr std::int32_t kHertz = 1024;
constexpr int kOneSecond = kEngineSampleRate;
constexpr int kTestVoices = 8;

TRPointer<TModulArbeiten> Make(const std::string& typeName) {
  bool queryOnly = false;
  return std::dynamic_pointer_cast<TModulArbeiten>(CreateModuleByType(typeName, queryOnly));
}

// Wires a new source of `value` to input `port` of `generator`; the value can change later.
std::int32_t& FeedInput(TDokumentKlang& document, TModulArbeiten& generator,
                        const std::string& port, std::int32_t value) {
  TEingang& input = In(generator, port);
  const bool frequency = input.Type().kind == TSignalKind::Frequenz;
  auto& source = Place(
      *document.ModuleList, document.ModuleList->UniqueKey("Source"),
      std::make_shared<TTestModule>(0, true, false, kPortMonoInputAnalog,
                                    frequency ? kPortMonoOutputFrequenz : kPortMonoOutputAnalog));
  source.signal = value;
  input.Connect(&Out(source), false);
  return source.signal;
}

// A sound of generators, each feeding a sink of its own, whose inputs read fixed values from
// test sources; it runs offline and hands out the generators' output values.
class GeneratorPatch {
 public:
  ~GeneratorPatch() { runner_.Stop(); }

  TModulArbeiten& Add(const std::string& typeName) {
    TModuleListe& list = *document.ModuleList;
    auto& generator = Place(list, list.UniqueKey(typeName), Make(typeName));
    const bool poly = Out(generator).Type().isPoly;
    auto& sink = Place(list, list.UniqueKey("Sink"),
                       std::make_shared<TTestModule>(
                           1, false, true, poly ? kPortPolyInputAnalog : kPortMonoInputAnalog));
    In(sink).Connect(&Out(generator), false);
    return generator;
  }

  std::int32_t& Feed(TModulArbeiten& generator, const std::string& port, std::int32_t value) {
    return FeedInput(document, generator, port, value);
  }

  void Start(int voices = 1) {
    document.SetVoiceCount(voices);
    document.RevalidatePatch();
    ASSERT_EQ(runner_.Start(), TKlangEngine::kStarted);
  }

  // The value a consumer of `generator`'s output reads for `voice`.
  const std::int32_t& Output(TModulArbeiten& generator, int voice = 0) {
    const std::int32_t* value = nullptr;
    TBindArena arena;
    TBindContext context(document.Engine(), arena);
    generator.LinkOutput(voice, TLinkTarget::Signal(&value), context, Out(generator));
    EXPECT_NE(value, nullptr);
    return *value;
  }

  // Runs `samples` samples and returns, for each of `outputs`, its value after each sample.
  std::vector<std::vector<std::int32_t>> Run(int samples,
                                             std::vector<const std::int32_t*> outputs) {
    std::vector<std::vector<std::int32_t>> values(outputs.size());
    for (int i = 0; i < samples; ++i) {
      runner_.Run(1);
      for (std::size_t k = 0; k < outputs.size(); ++k)
        values[k].push_back(*outputs[k]);
    }
    return values;
  }

  std::vector<std::int32_t> Render(TModulArbeiten& generator, int samples, int voice = 0) {
    return Run(samples, {&Output(generator, voice)})[0];
  }

  template <class Record>
  Record& RecordOf(TModulArbeiten& generator, int voice = 0) {
    void* record = document.Engine().Work(generator.GetWorkType())->GetRecord(&generator, voice);
    EXPECT_NE(record, nullptr);
    return *static_cast<Record*>(record);
  }

  const std::int32_t* Table(int waveCode) { return document.Engine().WaveTable(waveCode); }

  TDokumentKlang document;

 private:
  TOfflineRunner runner_{document.Engine()};
};

// Cycles started in `values`: upward moves from below zero to zero or above.
int CountUpwardCrossings(const std::vector<std::int32_t>& values) {
  int crossings = 0;
  for (std::size_t i = 1; i < values.size(); ++i) {
    if (values[i - 1] < 0 && values[i] >= 0) ++crossings;
  }
  return crossings;
}

// ---- Frequencies ----

struct SFrequencyCase {
  const char* typeName;
  std::int32_t frequency;  // hertz x 1024
  std::int32_t third;      // sync, modulation or width, where the kind has input 3
};

class GeneratorFrequency : public ::testing::TestWithParam<SFrequencyCase> {};

TEST_P(GeneratorFrequency, PlaysFourHundredFortyCyclesPerSecond) {
  const SFrequencyCase& c = GetParam();
  GeneratorPatch patch;
  TModulArbeiten& generator = patch.Add(c.typeName);
  patch.Feed(generator, "1", kUnity);
  patch.Feed(generator, "2", c.frequency);
  if (generator.InputList->Count() == 3) patch.Feed(generator, "3", c.third);
  patch.Start();
  EXPECT_NEAR(CountUpwardCrossings(patch.Render(generator, kOneSecond)), 440, 1);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPeriodicKind, GeneratorFrequency,
    ::testing::Values(SFrequencyCase{"MonoSine", 440 * kHertz, 0},
                      SFrequencyCase{"PolySaw", 440 * kHertz, 0},
                      SFrequencyCase{"MonoTriangle", 440 * kHertz, 0},
                      SFrequencyCase{"PolySyncSine", 440 * kHertz, 1},
                      SFrequencyCase{"MonoSyncTriangle", 440 * kHertz, kUnity},
                      // One unit of modulation is half a hertz, and it adds to input 2.
                      SFrequencyCase{"MonoFMSine", 0, 880},
                      SFrequencyCase{"PolyFMSaw", 220 * kHertz, 440},
                      // Far enough below zero, the oscillator runs backwards at 440 Hz.
                      SFrequencyCase{"MonoFMTriangle", 440 * kHertz, -1760},
                      SFrequencyCase{"MonoFMSquare", 440 * kHertz, 0},
                      SFrequencyCase{"MonoSquare", 440 * kHertz, 0},
                      SFrequencyCase{"PolyVSquare", 440 * kHertz, 689},
                      SFrequencyCase{"MonoWavetable", 440 * kHertz, 0}),
    [](const auto& info) { return std::string(info.param.typeName); });

TEST(Generator, ASineHeardThroughTheSpeakerIsItsTableAtFourHundredFortyHertz) {
  TRenderRig rig;
  TDokumentKlang& document = rig.Document();
  TModuleListe& list = *document.ModuleList;
  auto& sine = Place(list, "Sine", Make("MonoSine"));
  FeedInput(document, sine, "1", kUnity);
  FeedInput(document, sine, "2", 440 * kHertz);
  auto& speaker = Place(list, "Speaker", Make("Speaker"));
  In(speaker).Connect(&Out(sine), false);
  const SRenderedSound sound = rig.Render(kOneSecond);
  ASSERT_EQ(sound.EngineSampleCount(), static_cast<std::size_t>(kOneSecond));
  const std::int32_t* table = document.Engine().WaveTable(kWaveSinus);
  for (int i = 0; i < kOneSecond; ++i) {
    ASSERT_EQ(sound.EngineSample(i), table[i * 440 % kOneSecond]) << i;
  }
}

TEST(Generator, PlaysItsKindsTableScaledByTheLevel) {
  struct SCase {
    const char* typeName;
    EWaveCode table;
  };
  for (const SCase& c :
       {SCase{"MonoSine", kWaveSinus}, SCase{"PolyTriangle", kWaveDreieck},
        SCase{"MonoSyncSaw", kWaveSaegezahn}, SCase{"PolyFMSquare", kWaveRechteck}}) {
    SCOPED_TRACE(c.typeName);
    GeneratorPatch patch;
    TModulArbeiten& generator = patch.Add(c.typeName);
    patch.Feed(generator, "1", kUnity / 2);
    patch.Feed(generator, "2", 7 * kHertz);
    if (generator.InputList->Count() == 3) patch.Feed(generator, "3", 1);
    patch.Start();
    const std::vector<std::int32_t> values = patch.Render(generator, 100);
    for (int i : {0, 1, 50, 99}) {
      EXPECT_EQ(values[i], (patch.Table(c.table)[i * 7] * (kUnity / 2)) >> 11) << "sample " << i;
    }
  }
}

// ---- Pulse widths ----

struct SPulseCase {
  const char* typeName;
  std::int32_t width;  // input 3 of the variable pulse
  int firstHigh;       // samples high in the first one-second cycle
  int laterHigh;       // and in the next
};

// A later cycle is high one sample short of |width| x 16: the sample on which the phase wraps
// takes the new width and is low.

class PulseWidth : public ::testing::TestWithParam<SPulseCase> {};

// At 1 Hz one cycle spans 22050 samples, one per table entry.
TEST_P(PulseWidth, TheFirstCycleSwitchesAtHalfAndLaterOnesWhereTheWidthSays) {
  const SPulseCase& c = GetParam();
  GeneratorPatch patch;
  TModulArbeiten& generator = patch.Add(c.typeName);
  patch.Feed(generator, "1", 1000);
  patch.Feed(generator, "2", kHertz);
  if (generator.InputList->Count() == 3) patch.Feed(generator, "3", c.width);
  patch.Start();
  const std::vector<std::int32_t> values = patch.Render(generator, 2 * kOneSecond);
  const auto high = [&](int from) {
    return std::count(values.begin() + from, values.begin() + from + kOneSecond, 1000);
  };
  EXPECT_EQ(high(0), c.firstHigh);
  EXPECT_EQ(high(kOneSecond), c.laterHigh);
  EXPECT_TRUE(std::all_of(values.begin(), values.end(),
                          [](std::int32_t v) { return v == 1000 || v == -1000; }));
  // The first cycle starts high and ends low.
  EXPECT_EQ(values[0], 1000);
  EXPECT_EQ(values[kOneSecond - 1], -1000);
}

INSTANTIATE_TEST_SUITE_P(Widths, PulseWidth,
                         ::testing::Values(SPulseCase{"MonoSquare", 0, 11025, 689 * 16 - 1},
                                           SPulseCase{"PolySquare", 0, 11025, 689 * 16 - 1},
                                           SPulseCase{"MonoVSquare", 344, 11025, 344 * 16 - 1},
                                           SPulseCase{"PolyVSquare", -1000, 11025, 1000 * 16 - 1},
                                           SPulseCase{"MonoVSquare", 0, 11025, 0}),
                         [](const auto& info) {
                           return std::string(info.param.typeName) + "_" +
                                  std::to_string(info.index);
                         });

// ---- Sync ----

TEST(SyncGenerator, HoldsSilentWhileTheSyncInputIsNotPositiveThenStartsItsCycleAfresh) {
  GeneratorPatch patch;
  TModulArbeiten& generator = patch.Add("MonoSyncSine");
  patch.Feed(generator, "1", kUnity);
  patch.Feed(generator, "2", 100 * kHertz);
  std::int32_t& sync = patch.Feed(generator, "3", 1);
  patch.Start();
  patch.Render(generator, 333);

  for (const std::int32_t stop : {0, -7}) {
    sync = stop;
    const std::vector<std::int32_t> held = patch.Render(generator, 50);
    EXPECT_TRUE(std::all_of(held.begin(), held.end(), [](std::int32_t v) { return v == 0; }));
    sync = 5;
    const std::vector<std::int32_t> running = patch.Render(generator, 300);
    for (int i = 0; i < 300; ++i) {
      ASSERT_EQ(running[i], patch.Table(kWaveSinus)[i * 100 % kOneSecond]) << "sample " << i;
    }
  }
}

// ---- Noise and random ----

TEST(NoiseGenerator, ReplaysTheNoiseTableOncePerSecondTheSameInEveryGenerator) {
  GeneratorPatch patch;
  TModulArbeiten& first = patch.Add("MonoNoise");
  TModulArbeiten& second = patch.Add("MonoNoise");
  patch.Feed(first, "1", kUnity);
  patch.Feed(second, "1", kUnity);
  patch.Start();
  const auto values = patch.Run(2 * kOneSecond, {&patch.Output(first), &patch.Output(second)});
  const std::vector<std::int32_t>& firstValues = values[0];
  EXPECT_EQ(firstValues, values[1]);
  EXPECT_TRUE(std::equal(firstValues.begin(), firstValues.begin() + kOneSecond,
                         patch.Table(kWaveRauschen)));
  EXPECT_TRUE(std::equal(firstValues.begin(), firstValues.begin() + kOneSecond,
                         firstValues.begin() + kOneSecond));
}

struct SHoldCase {
  std::int32_t rate;  // hertz x 1024
  int hold;           // samples each value lasts
};

class RandomHold : public ::testing::TestWithParam<SHoldCase> {};

TEST_P(RandomHold, EveryVoiceTakesTheNextNoiseValueWhenItsHoldTimeRunsOut) {
  const SHoldCase& c = GetParam();
  GeneratorPatch patch;
  TModulArbeiten& generator = patch.Add("PolyRandomAnalog");
  patch.Feed(generator, "1", kUnity);
  patch.Feed(generator, "2", c.rate);
  patch.Start(3);
  const std::int32_t* noise = patch.Table(kWaveRauschen);
  const auto voices = patch.Run(
      2 * c.hold + 1,
      {&patch.Output(generator, 0), &patch.Output(generator, 1), &patch.Output(generator, 2)});
  for (const int sample : {0, c.hold - 1, c.hold, 2 * c.hold - 1, 2 * c.hold}) {
    EXPECT_EQ(voices[0][sample], noise[sample / c.hold]) << "sample " << sample;
  }
  EXPECT_EQ(voices[1], voices[0]);
  EXPECT_EQ(voices[2], voices[0]);
}

INSTANTIATE_TEST_SUITE_P(Rates, RandomHold,
                         ::testing::Values(SHoldCase{5000 * kHertz, 20481},
                                           SHoldCase{5001 * kHertz - 5, 101}));

// ---- Wavetable ----

TWavetableGenerator& Wavetable(TModulArbeiten& module) {
  return dynamic_cast<TWavetableGenerator&>(module);
}

void SetSequence(TWavetableGenerator& wavetable, std::initializer_list<int> codes) {
  wavetable.SizeWaves->value = static_cast<std::int32_t>(codes.size());
  int position = 0;
  for (const int code : codes)
    wavetable.Waves[position++]->value = code;
}

// At 10 Hz a cycle spans 2205 samples, and sample j of a cycle reads table entry 10 j.
TEST(WavetableGenerator, PlaysOneCycleOfEachWaveInTurnThenStartsOver) {
  GeneratorPatch patch;
  TModulArbeiten& generator = patch.Add("PolyWavetable");
  SetSequence(Wavetable(generator), {kWaveSinus, kWaveRechteck, kWaveSaegezahn});
  patch.Feed(generator, "1", kUnity);
  patch.Feed(generator, "2", 10 * kHertz);
  patch.Start(2);
  constexpr int kCycle = kOneSecond / 10;
  const auto voices =
      patch.Run(4 * kCycle, {&patch.Output(generator, 0), &patch.Output(generator, 1)});
  const EWaveCode expected[] = {kWaveSinus, kWaveRechteck, kWaveSaegezahn, kWaveSinus};
  for (int cycle = 0; cycle < 4; ++cycle) {
    for (const int j : {0, 300, 1500, kCycle - 1}) {
      EXPECT_EQ(voices[0][cycle * kCycle + j], patch.Table(expected[cycle])[10 * j])
          << "cycle " << cycle << ", sample " << j;
    }
  }
  EXPECT_EQ(voices[1], voices[0]);
}

TEST(WavetableGenerator, ASequenceFromAHandEditedFileBindsATableAtEveryPosition) {
  struct SCase {
    std::int32_t sizeWaves;
    int boundCount;
  };
  for (const SCase& c : {SCase{99, 30}, SCase{0, 1}, SCase{-4, 1}}) {
    GeneratorPatch patch;
    TModulArbeiten& generator = patch.Add("MonoWavetable");
    TWavetableGenerator& wavetable = Wavetable(generator);
    wavetable.SizeWaves->value = c.sizeWaves;
    wavetable.Waves[0]->value = -3;
    wavetable.Waves[5]->value = 17;
    wavetable.Waves[6]->value = kWaveRauschen;
    patch.Feed(generator, "1", kUnity);
    patch.Feed(generator, "2", 5000 * kHertz);
    patch.Start();
    const auto& record = patch.RecordOf<SWavetableRecord>(generator);
    ASSERT_EQ(record.waveCount, c.boundCount);
    for (int position = 0; position < c.boundCount; ++position) {
      const int code = position == 6 ? kWaveRauschen : kWaveSinus;
      EXPECT_EQ(record.tables[position], patch.Table(code)) << "position " << position;
    }
    patch.Render(generator, kOneSecond);
  }
}

// ---- Start phase and record counts ----

template <class Record>
std::vector<Record> BoundRecords(const char* typeName, bool startRandom, int voices) {
  GeneratorPatch patch;
  TModulArbeiten& generator = patch.Add(typeName);
  auto random = std::dynamic_pointer_cast<TPropInteger>(generator.Get("StartRandom"));
  random->value = startRandom ? 1 : 0;
  for (int input = 1; input <= generator.InputList->Count(); ++input) {
    patch.Feed(generator, std::to_string(input), input == 3 ? 1 : 440 * kHertz);
  }
  patch.Start(voices);
  std::vector<Record> records;
  for (int voice = 0; voice < voices; ++voice) {
    records.push_back(patch.RecordOf<Record>(generator, voice));
  }
  return records;
}

TEST(GeneratorStart, WithoutRandomStartEveryVoiceStartsAtPhaseZero) {
  for (const auto& record : BoundRecords<SSynchGeneratorRecord>("PolySyncSaw", false, 5)) {
    EXPECT_EQ(record.phase, 0);
  }
  for (const auto& record : BoundRecords<SWavetableRecord>("PolyWavetable", false, 5)) {
    EXPECT_EQ(record.phase, 0);
    EXPECT_EQ(record.currentWave, 0);
  }
}

TEST(GeneratorStart, ARandomStartPicksADifferentPointOfTheCycleForEachVoice) {
  std::set<std::int32_t> phases;
  for (const auto& record : BoundRecords<SStandardGeneratorRecord>("PolySine", true, 16)) {
    EXPECT_EQ(record.phase % kHertz, 0);
    EXPECT_GE(record.phase, 0);
    EXPECT_LE(record.phase, 22048 * kHertz);
    phases.insert(record.phase);
  }
  EXPECT_GT(phases.size(), 8u);
}

TEST(GeneratorStart, ARandomWavetableStartNeverBeginsOnTheLastWave) {
  std::set<std::int32_t> startWaves;
  for (int start = 0; start < 4; ++start) {
    GeneratorPatch patch;
    TModulArbeiten& generator = patch.Add("PolyWavetable");
    SetSequence(Wavetable(generator), {kWaveSinus, kWaveRechteck, kWaveSaegezahn});
    Wavetable(generator).StartRandom->value = 1;
    patch.Feed(generator, "1", kUnity);
    patch.Feed(generator, "2", kHertz);
    patch.Start(kTestVoices);
    for (int voice = 0; voice < kTestVoices; ++voice) {
      startWaves.insert(patch.RecordOf<SWavetableRecord>(generator, voice).currentWave);
    }
  }
  EXPECT_EQ(startWaves, (std::set<std::int32_t>{0, 1}));
}

TEST(GeneratorStart, MonoKindsFillOneRecordAndPolyKindsAndBothWavetablesOnePerVoice) {
  struct SCase {
    const char* typeName;
    int records;
  };
  for (const SCase& c : {SCase{"MonoSine", 1}, SCase{"PolySine", 4}, SCase{"MonoVSquare", 1},
                         SCase{"PolyRandomAnalog", 4}, SCase{"MonoNoise", 1},
                         SCase{"MonoWavetable", 4}, SCase{"PolyWavetable", 4}}) {
    GeneratorPatch patch;
    TModulArbeiten& generator = patch.Add(c.typeName);
    for (int input = 1; input <= generator.InputList->Count(); ++input) {
      patch.Feed(generator, std::to_string(input), kUnity);
    }
    patch.Start(4);
    EXPECT_EQ(patch.document.Engine().Work(generator.GetWorkType())->GetRecordCount(), c.records)
        << c.typeName;
  }
}

// ---- Registry ----

struct SKindShape {
  const char* typeName;  // without "Mono" or "Poly"
  const char* title;
  int workType;
  int inputs;
  const char* thirdCaption;
};

constexpr SKindShape kKinds[] = {
    {"Sine", " Sine", 7, 2, ""},
    {"Saw", " Saw", 7, 2, ""},
    {"Triangle", " Triangle", 7, 2, ""},
    {"SyncSine", " Sync Sine", 8, 3, "S"},
    {"SyncSaw", " Sync Saw", 8, 3, "S"},
    {"SyncTriangle", " Sync Triangle", 8, 3, "S"},
    {"FMSine", " FM Sine", 9, 3, "FM"},
    {"FMSaw", " FM Saw", 9, 3, "FM"},
    {"FMTriangle", " FM Triangle", 9, 3, "FM"},
    {"FMSquare", " FM Pulse", 9, 3, "FM"},
    {"Square", " Pulse", 10, 2, ""},
    {"VSquare", " Pulse", 10, 3, "W"},
    {"Noise", " Noise", 11, 1, ""},
    {"RandomAnalog", " Random", 12, 2, ""},
    {"Wavetable", " Wavetable", 13, 2, ""},
};

std::vector<std::string> VariantsOf(const SKindShape& kind) {
  if (std::string(kind.typeName) == "Noise") return {"MonoNoise"};
  return {std::string("Mono") + kind.typeName, std::string("Poly") + kind.typeName};
}

TEST(GeneratorRegistry, CreatesEveryKindWithItsTitlePortsAndPanelSize) {
  int registered = 0;
  for (const SKindShape& kind : kKinds) {
    for (const std::string& typeName : VariantsOf(kind)) {
      SCOPED_TRACE(typeName);
      ++registered;
      const auto module = std::dynamic_pointer_cast<TGenerator>(Make(typeName));
      ASSERT_NE(module, nullptr);
      const bool mono = typeName.starts_with("Mono");
      EXPECT_EQ(module->typeName, typeName);
      EXPECT_EQ(module->Title->value, kind.title);
      EXPECT_EQ(module->GetWorkType(), kind.workType);
      EXPECT_EQ(module->IsMono(), mono && kind.workType != 13);
      const int poly = mono ? 0 : 1;
      std::vector<int> inputCodes;
      for (TEinAusgang* port : module->InputList->Ports())
        inputCodes.push_back(port->Code());
      const std::vector<int> expected = {kPortMonoInputAnalog + poly, kPortMonoInputFrequenz + poly,
                                         kPortMonoInputAnalog + poly};
      EXPECT_EQ(inputCodes, std::vector<int>(expected.begin(), expected.begin() + kind.inputs));
      ASSERT_EQ(module->OutputList->Count(), 1);
      EXPECT_EQ(Out(*module).Code(), kPortMonoOutputAnalog + poly);
      EXPECT_EQ(Out(*module).Title->value, "");
      EXPECT_EQ(In(*module, "1").Title->value, "");
      if (kind.inputs == 3) {
        EXPECT_EQ(In(*module, "3").Title->value, kind.thirdCaption);
        EXPECT_EQ(module->Rect->GetRect(), (TRect{0, 0, 88, 68}));
        EXPECT_EQ(module->PictureOrigin(), (TPoint{28, 25}));
      } else {
        EXPECT_EQ(module->Rect->GetRect(), TModul::kDefaultRect);
        EXPECT_EQ(module->PictureOrigin(), (TPoint{28, 16}));
      }
    }
  }
  EXPECT_EQ(registered, 29);
  bool queryOnly = true;
  CreateModuleByType("PolyNoise", queryOnly);
  EXPECT_FALSE(queryOnly);
}

TEST(GeneratorRegistry, ASoundOfEveryKindLoadsBackUnderTheSameTypeNames) {
  TDokumentKlang original;
  for (const SKindShape& kind : kKinds) {
    for (const std::string& typeName : VariantsOf(kind)) {
      Place(*original.ModuleList, typeName, Make(typeName));
    }
  }
  SetSequence(dynamic_cast<TWavetableGenerator&>(*original.ModuleList->Get("PolyWavetable")),
              {kWaveRauschen, kWaveDreieck});
  dynamic_cast<TStandardGenerator&>(*original.ModuleList->Get("MonoSine")).StartRandom->value = 1;
  QTemporaryDir folder;
  const QString path = folder.filePath("generators.zmr");
  ASSERT_TRUE(original.Save(path));

  TDokumentKlang loaded;
  ASSERT_TRUE(loaded.Load(path));
  loaded.ViewSound->Title->value = original.ViewSound->Title->value;
  std::ostringstream originalText;
  std::ostringstream loadedText;
  original.WriteSound(originalText);
  loaded.WriteSound(loadedText);
  EXPECT_EQ(loadedText.str(), originalText.str());
  EXPECT_EQ(loaded.ModuleList->Children().size(), 29u);
  for (const auto& [key, child] : loaded.ModuleList->Children()) {
    const auto* module = dynamic_cast<TGenerator*>(child.get());
    ASSERT_NE(module, nullptr) << key;
    EXPECT_EQ(module->typeName, key);
  }
}

// ---- Wavetable editor ----

TEST(WavetableEdit, TheSizeButtonTakesOnlyOneToThirty) {
  TWavetableGenerator module(true);
  TWavetableEdit edit(module);
  struct SCase {
    const char* typed;
    const char* message;
    int count;
  };
  for (const SCase& c :
       {SCase{"0", "Value not in range !", 1}, SCase{"31", "Value not in range !", 1},
        SCase{"__", "Value not in range !", 1}, SCase{"x", "Value not in range !", 1},
        SCase{"5_", "", 5}, SCase{"30", "", 30}, SCase{"99", "Value not in range !", 30},
        SCase{" 1", "", 1}}) {
    EXPECT_EQ(edit.ConfirmSize(c.typed), c.message) << c.typed;
    EXPECT_EQ(edit.Count(), c.count) << c.typed;
  }
}

TEST(WavetableEdit, RemovingASlotMovesTheLaterWavesForwardButKeepsTheLastSlot) {
  TWavetableGenerator module(false);
  SetSequence(module, {kWaveSinus, kWaveRechteck, kWaveSaegezahn});
  TWavetableEdit edit(module);
  EXPECT_FALSE(edit.RemoveSlot(3));
  ASSERT_TRUE(edit.RemoveSlot(1));
  EXPECT_EQ(edit.Count(), 2);
  EXPECT_EQ(edit.Code(0), kWaveSinus);
  EXPECT_EQ(edit.Code(1), kWaveSaegezahn);
  ASSERT_TRUE(edit.RemoveSlot(0));
  EXPECT_EQ(edit.Code(0), kWaveSaegezahn);
  EXPECT_FALSE(edit.RemoveSlot(0));
  EXPECT_EQ(edit.Count(), 1);
}

TEST(WavetableEdit, OkStoresTheWholeSequenceAndReopeningShowsItAgain) {
  TDokumentKlang document;
  auto& module = Place(*document.ModuleList, "Table", std::make_shared<TWavetableGenerator>(true));
  module.Waves[29]->value = kWaveDreieck;
  TWavetableEdit edit(module);
  // Positions beyond the stored sequence open as sine, whatever the module still holds there.
  EXPECT_EQ(edit.ConfirmSize("30"), "");
  EXPECT_EQ(edit.Code(29), kWaveSinus);
  for (int position = 0; position < 30; ++position)
    edit.DropWave(position, position % 5);
  edit.DropWave(3, 5);  // not a palette wave
  edit.name = " Pad";
  edit.randomStart = true;
  edit.Apply(module);

  EXPECT_EQ(module.SizeWaves->value, 30);
  EXPECT_EQ(module.Title->value, " Pad");
  EXPECT_EQ(module.StartRandom->value, 1);
  EXPECT_TRUE(document.IsModified());
  const TWavetableEdit reopened(module);
  EXPECT_EQ(reopened.Count(), 30);
  EXPECT_EQ(reopened.name, " Pad");
  EXPECT_TRUE(reopened.randomStart);
  for (int position = 0; position < 30; ++position) {
    EXPECT_EQ(reopened.Code(position), position % 5) << "position " << position;
  }
}

TEST(WavetableEdit, OkKeepsTheStoredCodesBeyondAShorterSequence) {
  TWavetableGenerator module(true);
  SetSequence(module, {kWaveRechteck, kWaveDreieck, kWaveSaegezahn});
  TWavetableEdit edit(module);
  ASSERT_TRUE(edit.RemoveSlot(0));
  edit.Apply(module);
  EXPECT_EQ(module.SizeWaves->value, 2);
  EXPECT_EQ(module.Waves[0]->value, kWaveDreieck);
  EXPECT_EQ(module.Waves[1]->value, kWaveSaegezahn);
  EXPECT_EQ(module.Waves[2]->value, kWaveSaegezahn);
}

TEST(WavetableEdit, OpensAHandEditedSequenceWithAPaletteWaveInEverySlot) {
  TWavetableGenerator module(true);
  module.SizeWaves->value = 45;
  module.Waves[2]->value = 9;
  module.Waves[4]->value = -1;
  const TWavetableEdit edit(module);
  EXPECT_EQ(edit.Count(), 30);
  for (int position = 0; position < 30; ++position) {
    EXPECT_GE(edit.Code(position), 0);
    EXPECT_LT(edit.Code(position), kWaveCodeCount);
  }
}

}  // namespace
