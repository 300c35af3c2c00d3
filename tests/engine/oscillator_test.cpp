#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "engine/envelope.h"
#include "engine/midi_key.h"
#include "engine/noise_generators.h"
#include "engine/pulse_generator.h"
#include "engine/table_generators.h"
#include "engine/waveform_tables.h"
#include "engine/work_factory.h"
#include "kernel_rig.h"

namespace {

constexpr std::int32_t kLimit = kEngineSampleRate * 1024;  // phase units of one cycle
constexpr std::int32_t kUnity = 2048;
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

// Tables on the heap with exactly one cycle each, so that AddressSanitizer sees any read
// outside them.
const TWaveformTables& Tables() {
  static const TWaveformTables tables(kEngineSampleRate);
  return tables;
}
const std::int32_t* Sine() { return Tables().Table(kWaveSinus); }

std::int64_t FloorMod(std::int64_t value, std::int64_t modulus) {
  return ((value % modulus) + modulus) % modulus;
}

// What an ideal oscillator starting at phase 0 outputs at sample k: the table at
// (k x increment) mod one cycle.
std::int32_t IdealOutput(const std::int32_t* table, std::int64_t increment, int k,
                         std::int32_t amplitude) {
  const auto phase = FloorMod(increment * k, kLimit);
  return static_cast<std::int32_t>(table[phase >> 10] * std::int64_t{amplitude} >> 11);
}

struct SFrequencyCase {
  const char* name;
  std::int32_t frequency;  // hertz x 1024
  std::int32_t amplitude;
};

// In range and well beyond it in both directions, as long as the ideal phase fits 32 bits over
// the samples run: a negative frequency runs the cycle backwards, one above the limit aliases.
const SFrequencyCase kFrequencies[] = {
    {"440 Hz", 440 * 1024, kUnity},
    {"half amplitude", 440 * 1024, kUnity / 2},
    {"just below the limit", kLimit - 1, kUnity},
    {"zero", 0, kUnity},
    {"negative", -440 * 1024, kUnity},
    {"minus one", -1, kUnity},
    {"the limit", kLimit, kUnity},
    {"above the limit", 3 * kLimit + 12345, kUnity},
    {"far below zero", -5 * kLimit - 99, kUnity},
};

TEST(StandardGenerator, PlaysTheTableAtItsFrequencyWhateverTheInput) {
  for (const auto& c : kFrequencies) {
    const std::int32_t frequency = c.frequency, amplitude = c.amplitude;
    TKernelRig<TWorkStandardGeneratoren, SStandardGeneratorRecord> rig(
        {{0, &amplitude, &frequency, 0, Sine()}});
    const auto outputs = rig.Outputs(300);
    for (int k = 0; k < 300; ++k) {
      ASSERT_EQ(outputs[k], IdealOutput(Sine(), c.frequency, k, c.amplitude))
          << c.name << ", sample " << k;
    }
  }
}

TEST(StandardGenerator, Plays440CyclesPerSecond) {
  const std::int32_t frequency = 440 * 1024, amplitude = kUnity;
  TKernelRig<TWorkStandardGeneratoren, SStandardGeneratorRecord> rig(
      {{0, &amplitude, &frequency, 0, Tables().Table(kWaveRechteck)}});
  const auto outputs = rig.Outputs(kEngineSampleRate);
  int cycles = 0;
  for (int k = 1; k < kEngineSampleRate; ++k)
    cycles += outputs[k - 1] < 0 && outputs[k] > 0;
  EXPECT_EQ(cycles + 1, 440);  // the first cycle starts high at sample 0
  EXPECT_EQ(outputs.front(), 2048);
}

// Inputs that overflow the 32-bit phase: no ideal to compare with, but every read must stay in
// the table (AddressSanitizer) and the output within the table's range.
TEST(TableOscillators, ExtremeFrequencyInputsStayInTheTable) {
  const std::int32_t extremes[] = {kInt32Max, kInt32Min, kInt32Min + 1, kInt32Max - kLimit};
  for (const std::int32_t frequency : extremes) {
    const std::int32_t amplitude = kUnity, on = 1;
    TKernelRig<TWorkStandardGeneratoren, SStandardGeneratorRecord> standard(
        {{0, &amplitude, &frequency, 0, Sine()}});
    TKernelRig<TWorkStandardSynchGeneratoren, SSynchGeneratorRecord> sync(
        {{0, &amplitude, &frequency, &on, 0, Sine()}});
    TKernelRig<TWorkStandardFMGeneratoren, SFMGeneratorRecord> fm(
        {{0, &amplitude, &frequency, &frequency, 0, Sine()}});
    SWavetableRecord wave{0, &amplitude, &frequency, 0, 2, 0, {Sine(), Sine()}};
    TKernelRig<TWorkWavetable, SWavetableRecord> wavetable({wave});
    for (int k = 0; k < 1000; ++k) {
      for (const auto output : {standard.Outputs(1)[0], sync.Outputs(1)[0], fm.Outputs(1)[0],
                                wavetable.Outputs(1)[0]}) {
        ASSERT_GE(output, -2048) << frequency;
        ASSERT_LE(output, 2048) << frequency;
      }
    }
  }
}

TEST(SyncGenerator, HoldsAtPhaseZeroAndRestartsTheCycle) {
  const std::int32_t frequency = 1000 * 1024, amplitude = kUnity;
  std::int32_t sync = 1;
  TKernelRig<TWorkStandardSynchGeneratoren, SSynchGeneratorRecord> rig(
      {{0, &amplitude, &frequency, &sync, 0, Sine()}});
  rig.Run(7);
  for (const std::int32_t hold : {0, -5}) {
    sync = hold;
    EXPECT_EQ(rig.Outputs(3), (std::vector<std::int32_t>{0, 0, 0}));
    EXPECT_EQ(rig[0].phase, 0);
  }
  sync = 2048;
  const auto outputs = rig.Outputs(50);
  for (int k = 0; k < 50; ++k)
    ASSERT_EQ(outputs[k], IdealOutput(Sine(), frequency, k, kUnity));
}

TEST(FMGenerator, ModulationAddsHalfAHertzPerUnit) {
  // No carrier: an FM input of 2 advances the phase by one table entry per sample.
  const std::int32_t frequency = 0, amplitude = kUnity, modulation = 2;
  TKernelRig<TWorkStandardFMGeneratoren, SFMGeneratorRecord> rig(
      {{0, &amplitude, &frequency, &modulation, 0, Sine()}});
  const auto outputs = rig.Outputs(100);
  for (int k = 0; k < 100; ++k)
    ASSERT_EQ(outputs[k], Sine()[k]);
}

TEST(FMGenerator, WrapsAnyPhaseIntoTheCycle) {
  struct SCase {
    std::int32_t phase, wrapped;
  } cases[] = {{-kLimit, 0},
               {-3 * kLimit, 0},
               {-1, kLimit - 1},
               {-kLimit - 1024, kLimit - 1024},
               {kLimit, 0},
               {2 * kLimit + 2048, 2048},
               {kInt32Max, kInt32Max % kLimit}};
  for (const auto& c : cases) {
    const std::int32_t frequency = 0, amplitude = kUnity, modulation = 0;
    TKernelRig<TWorkStandardFMGeneratoren, SFMGeneratorRecord> rig(
        {{c.phase, &amplitude, &frequency, &modulation, 0, Sine()}});
    rig.Run(1);
    EXPECT_EQ(rig[0].phase, c.wrapped) << c.phase;
    EXPECT_EQ(rig[0].output, Sine()[c.wrapped >> 10]) << c.phase;
  }
}

TEST(FMGenerator, LargeNegativeModulationKeepsThePhaseInTheCycle) {
  const std::int32_t frequency = 440 * 1024, amplitude = kUnity, modulation = -1000000;
  TKernelRig<TWorkStandardFMGeneratoren, SFMGeneratorRecord> rig(
      {{0, &amplitude, &frequency, &modulation, 0, Sine()}});
  const std::int64_t increment = frequency + std::int64_t{modulation} * 512;
  const auto outputs = rig.Outputs(200);
  for (int k = 0; k < 200; ++k)
    ASSERT_EQ(outputs[k], IdealOutput(Sine(), increment, k, kUnity));
}

// High samples in each of the first cycles of a 1 Hz pulse (one sample = 1024 phase units).
std::vector<int> HighSamplesPerCycle(std::int32_t width, int cycles) {
  const std::int32_t frequency = 1024, amplitude = 1000;
  TKernelRig<TWorkRechteckGeneratoren, SPulseGeneratorRecord> rig(
      {{0, &width, PulseThreshold(width), &amplitude, &frequency, 0}});
  std::vector<int> highs(cycles, 0);
  const auto outputs = rig.Outputs(cycles * kEngineSampleRate);
  for (int k = 0; k < cycles * kEngineSampleRate; ++k) {
    EXPECT_EQ(std::abs(outputs[k]), 1000);
    highs[k / kEngineSampleRate] += outputs[k] > 0;
  }
  return highs;
}

// The sample on which a cycle wraps is still low, so from the second cycle on the high part is
// one sample shorter than the first cycle's, which starts at phase 0.
TEST(PulseGenerator, WidthSetsTheHighPartOfTheCycle) {
  struct SCase {
    std::int32_t width;
    int highSamples;  // in the first cycle
  } cases[] = {{689, 11024}, {-689, 11024}, {1378, 22048}, {1, 16}};
  for (const auto& c : cases) {
    EXPECT_EQ(HighSamplesPerCycle(c.width, 3),
              (std::vector<int>{c.highSamples, c.highSamples - 1, c.highSamples - 1}))
        << "width " << c.width;
  }
  EXPECT_EQ(HighSamplesPerCycle(0, 2), (std::vector<int>{0, 0}));
  EXPECT_EQ(PulseThreshold(689), 11288576);
}

TEST(PulseGenerator, WidthChangeTakesEffectAtTheNextCycle) {
  std::int32_t width = 689;
  const std::int32_t frequency = 1024, amplitude = kUnity;
  TKernelRig<TWorkRechteckGeneratoren, SPulseGeneratorRecord> rig(
      {{0, &width, PulseThreshold(width), &amplitude, &frequency, 0}});
  rig.Run(100);
  width = 100;
  int highs = 0;
  for (const auto output : rig.Outputs(kEngineSampleRate - 100))
    highs += output > 0;
  EXPECT_EQ(highs, 11024 - 100);
  EXPECT_EQ(rig.Outputs(1)[0], -kUnity);  // the wrap sample, where the new width is taken over
  EXPECT_EQ(rig[0].threshold, 100 << 14);
  highs = 0;
  for (const auto output : rig.Outputs(kEngineSampleRate - 1))
    highs += output > 0;
  EXPECT_EQ(highs, (100 << 14) / 1024 - 1);
}

TEST(NoiseGenerator, ReplaysTheNoiseTableOncePerSecond) {
  const std::int32_t amplitude = kUnity;
  const auto* noise = Tables().Table(kWaveRauschen);
  TKernelRig<TWorkRauschGeneratoren, SNoiseGeneratorRecord> rig({{0, &amplitude, 0, noise}});
  const auto outputs = rig.Outputs(2 * kEngineSampleRate + 3);
  for (int k = 0; k < kEngineSampleRate; ++k)
    ASSERT_EQ(outputs[k], noise[k]) << k;
  for (int k = kEngineSampleRate; k < 2 * kEngineSampleRate + 3; ++k) {
    ASSERT_EQ(outputs[k], outputs[k - kEngineSampleRate]) << k;
  }
}

TEST(NoiseGenerators, AnIndexBoundOutsideTheTableStartsItAgain) {
  const std::int32_t amplitude = kUnity, rate = 0;
  const auto* noise = Tables().Table(kWaveRauschen);
  for (const std::int32_t index : {-1, kEngineSampleRate + 1, kInt32Min}) {
    TKernelRig<TWorkRauschGeneratoren, SNoiseGeneratorRecord> noiseRig(
        {{index, &amplitude, 0, noise}});
    TKernelRig<TWorkZufallsGeneratoren, SRandomGeneratorRecord> randomRig(
        {{0, index, &amplitude, &rate, 0, noise}});
    EXPECT_EQ(noiseRig.Outputs(1)[0], noise[0]);
    EXPECT_EQ(randomRig.Outputs(1)[0], noise[0]);
  }
}

TEST(RandomGenerator, HoldsEachValueForTheTimeItsRateSets) {
  struct SCase {
    const char* name;
    std::int32_t rate;
    int holdSamples;  // samples from one new value to the next
  } cases[] = {
      {"5000 Hz", 5000 * 1024, 20481},
      {"one unit below the top", 5121024 - 1, 21},
      {"top of the range", 5121024, 1},
      // Faster than the top must not wrap into a hold of 2^32 samples.
      {"above the range", 5121024 + 100000, 1},
      {"far above the range", kInt32Max, 1},
  };
  const auto* noise = Tables().Table(kWaveRauschen);
  for (const auto& c : cases) {
    const std::int32_t amplitude = kUnity;
    TKernelRig<TWorkZufallsGeneratoren, SRandomGeneratorRecord> rig(
        {{0, 0, &amplitude, &c.rate, 0, noise}});
    std::vector<int> picks;  // samples at which the index moved on
    for (int k = 0; k < 2 * c.holdSamples + 1; ++k) {
      const auto index = rig[0].index;
      rig.Run(1);
      if (rig[0].index != index) picks.push_back(k);
      ASSERT_EQ(rig[0].output, noise[rig[0].index - 1]) << c.name;
    }
    EXPECT_EQ(picks.size(), 3u) << c.name;
    EXPECT_EQ(picks.back(), 2 * c.holdSamples) << c.name;
  }
  EXPECT_EQ(RandomHoldSamples(0), 102420480);
  EXPECT_EQ(RandomHoldSamples(std::numeric_limits<std::int32_t>::min()), kInt32Max);
}

// Tables of one constant each, so the output names the wave that is playing.
class WavetableTest : public ::testing::Test {
 protected:
  WavetableTest() {
    for (int w = 0; w < 3; ++w)
      waves_[w].assign(kEngineSampleRate, 100 * (w + 1));
  }
  const std::int32_t* Wave(int w) const { return waves_[w].data(); }
  std::vector<std::int32_t> waves_[3];
};

TEST_F(WavetableTest, PlaysTheWavesInTurnOneCycleEach) {
  const std::int32_t frequency = kLimit / 4, amplitude = kUnity;  // four samples per cycle
  TKernelRig<TWorkWavetable, SWavetableRecord> rig(
      {{0, &amplitude, &frequency, 0, 3, 0, {Wave(0), Wave(1), Wave(2)}}});
  const std::vector<std::int32_t> expected = {100, 100, 100, 100, 200, 200, 200,
                                              200, 300, 300, 300, 300, 100, 100};
  EXPECT_EQ(rig.Outputs(14), expected);
}

TEST_F(WavetableTest, OddBoundSequencesNeverLeaveTheRecord) {
  struct SCase {
    std::int32_t waveCount, currentWave, firstOutput;
  } cases[] = {{0, 0, 100}, {-4, 2, 100}, {99, 29, 100}, {3, 7, 100}, {3, -1, 100}, {3, 2, 300}};
  const std::int32_t frequency = kLimit / 2, amplitude = kUnity;
  for (const auto& c : cases) {
    SWavetableRecord record{0, &amplitude, &frequency, 0, c.waveCount, c.currentWave, {}};
    for (auto& table : record.tables)
      table = Wave(0);
    for (int w = 0; w < 3; ++w)
      record.tables[w] = Wave(w);
    TKernelRig<TWorkWavetable, SWavetableRecord> rig({record});
    EXPECT_EQ(rig.Outputs(1)[0], c.firstOutput) << c.waveCount << "/" << c.currentWave;
    rig.Run(200);
    EXPECT_GE(rig[0].currentWave, 0);
    EXPECT_LT(rig[0].currentWave, std::max(1, std::min(c.waveCount, 30)));
  }
}

TEST(TableOscillators, RecordsRunIndependently) {
  const std::int32_t slow = 100 * 1024, fast = 3000 * 1024, amplitude = kUnity;
  TKernelRig<TWorkStandardGeneratoren, SStandardGeneratorRecord> rig(
      {{0, &amplitude, &slow, 0, Sine()}, {0, &amplitude, &fast, 0, Sine()}});
  rig.Run(10);
  EXPECT_EQ(rig[0].phase, 10 * slow);
  EXPECT_EQ(rig[1].phase, FloorMod(10LL * fast, kLimit));
}

TEST(TableOscillators, ARateWhoseCycleDoesNotFitThePhaseIsIgnored) {
  TWorkStandardGeneratoren work;
  for (const std::int32_t rate : {0, -22050, 1 << 22}) {
    work.SetSampleRate(rate);
    EXPECT_EQ(work.phaseLimit, kLimit) << rate;
  }
  work.SetSampleRate(44100);
  EXPECT_EQ(work.phaseLimit, 44100 * 1024);
}

// The factory hands out the kernel of each code: its record layout and whether it runs.
TEST(WorkFactory, CreatesTheGeneratorKeyAndEnvelopeWorkObjects) {
  struct SCase {
    int code;
    std::size_t recordSize;
    bool runs;
  } cases[] = {
      {7, sizeof(SStandardGeneratorRecord), true},
      {8, sizeof(SSynchGeneratorRecord), true},
      {9, sizeof(SFMGeneratorRecord), true},
      {10, sizeof(SPulseGeneratorRecord), true},
      {11, sizeof(SNoiseGeneratorRecord), true},
      {12, sizeof(SRandomGeneratorRecord), true},
      {13, sizeof(SWavetableRecord), true},
      {14, sizeof(SMidiTasteRecord), false},
      {15, sizeof(SADSRRecord), true},
  };
  for (const auto& c : cases) {
    const auto work = CreateWorkObject(c.code);
    ASSERT_NE(work, nullptr) << c.code;
    EXPECT_EQ(work->GetRecordSize(), c.recordSize) << c.code;
    EXPECT_EQ(work->NeedsProcessing(), c.runs) << c.code;
  }
}

}  // namespace
