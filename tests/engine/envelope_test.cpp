#include "engine/envelope.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <limits>
#include <thread>
#include <vector>

#include "engine/midi_key.h"
#include "engine/note_table.h"
#include "engine/table_generators.h"
#include "kernel_rig.h"

namespace {

TEST(SegmentSetup, StepsOfAtMostThirty) {
  struct SCase {
    std::int32_t delta, samples;
    SSegment expected;
  } cases[] = {
      {2048, 22050, {30, 324, 68}},
      {20, 1000, {20, 1000, 1}},
      {0, 900, {0, 30, 30}},
      {500, 0, {500, 0, 0}},
      {-150, 300, {-150, 300, 1}},
      {std::numeric_limits<std::int32_t>::min(),
       10,
       {std::numeric_limits<std::int32_t>::min(), 10, 1}},
  };
  for (const auto& c : cases) {
    const SSegment s = SetupSegment(c.delta, c.samples);
    EXPECT_EQ(s.increment, c.expected.increment) << c.delta << "/" << c.samples;
    EXPECT_EQ(s.samplesPerStep, c.expected.samplesPerStep) << c.delta << "/" << c.samples;
    EXPECT_EQ(s.stepCount, c.expected.stepCount) << c.delta << "/" << c.samples;
  }
}

struct SPhase {
  std::int32_t state;   // the state the envelope left
  int samples;          // samples spent in it
  std::int32_t output;  // output when it left
};

// One envelope voice with its time inputs; Until() runs samples until the state changes.
class EnvelopeTest : public ::testing::Test {
 protected:
  EnvelopeTest() : rig_({Bound()}) {}

  SADSRRecord Bound() {
    SADSRRecord r{};
    r.attackTime = &attack_;
    r.decayTime = &decay_;
    r.sustain = &sustain_;
    r.releaseTime = &release_;
    return r;
  }
  SADSRRecord& Voice() { return rig_[0]; }

  SPhase Until(int limit = 1000000) {
    const std::int32_t state = Voice().state;
    int samples = 0;
    while (Voice().state == state && samples < limit) {
      rig_.Run(1);
      ++samples;
    }
    return {state, samples, Voice().output};
  }

  // Times in milliseconds: 10 ms is 220 samples.
  std::int32_t attack_ = 10, decay_ = 10, sustain_ = 1000, release_ = 10;
  TKernelRig<TWorkADSR, SADSRRecord> rig_;
};

void ExpectPhase(const SPhase& phase, std::int32_t state, int samples, std::int32_t output) {
  EXPECT_EQ(phase.state, state);
  EXPECT_EQ(phase.samples, samples) << "in state " << state;
  EXPECT_EQ(phase.output, output) << "in state " << state;
}

TEST_F(EnvelopeTest, RunsThroughAllStates) {
  rig_.Run(5);
  EXPECT_EQ(Voice().state, kEnvelopeIdle);
  TWorkADSR::NoteOn(Voice(), 450560, 300);
  EXPECT_EQ(Voice().frequency, 450560);
  ExpectPhase(Until(), kEnvelopeNoteOnRequested, 1, 0);
  // 300 in steps of 30: 11 steps of 23 samples, ending one step above the peak.
  ExpectPhase(Until(), kEnvelopeAttack, 11 * 23, 330);
  // Down to half the peak: 6 steps of 45 samples, then exactly the sustain level.
  ExpectPhase(Until(), kEnvelopeDecay, 6 * 45, 150);
  ExpectPhase(Until(5000), kEnvelopeSustain, 5000, 150);
  TWorkADSR::NoteOff(Voice());
  ExpectPhase(Until(), kEnvelopeNoteOffRequested, 1, 150);
  ExpectPhase(Until(), kEnvelopeRelease, 6 * 45, 0);
  EXPECT_EQ(Voice().state, kEnvelopeIdle);
  ExpectPhase(Until(100), kEnvelopeIdle, 100, 0);
}

TEST_F(EnvelopeTest, ZeroAttackReachesThePeakAtOnce) {
  attack_ = 0;
  TWorkADSR::NoteOn(Voice(), 1, 2000);
  rig_.Run(2);
  EXPECT_EQ(Voice().output, 2000);
  EXPECT_EQ(Voice().state, kEnvelopeDecay);
}

TEST_F(EnvelopeTest, FullSustainHoldsThePeakThroughTheDecay) {
  sustain_ = 2000;
  attack_ = 0;
  TWorkADSR::NoteOn(Voice(), 1, 1000);
  rig_.Run(2);
  EXPECT_EQ(Voice().decay.increment, 0);
  EXPECT_EQ(Voice().decay.stepCount, 30);
  ExpectPhase(Until(), kEnvelopeDecay, 31 * 8, 1000);  // 220 samples / 30 steps = 7 per step
}

TEST_F(EnvelopeTest, NoteOffDuringTheAttackReleasesFromTheCurrentOutput) {
  TWorkADSR::NoteOn(Voice(), 1, 300);
  rig_.Run(1 + 3 * 23);
  ASSERT_EQ(Voice().output, 90);
  TWorkADSR::NoteOff(Voice());
  rig_.Run(1);
  EXPECT_EQ(Voice().release.increment, 30);
  EXPECT_EQ(Voice().release.stepCount, 3);
  ExpectPhase(Until(), kEnvelopeRelease, 4 * 74, 0);  // 4 steps of 220 / 3 + 1 samples
}

TEST_F(EnvelopeTest, NoteOnDuringTheReleaseStartsAgainFromZero) {
  TWorkADSR::NoteOn(Voice(), 1, 300);
  rig_.Run(600);
  TWorkADSR::NoteOff(Voice());
  rig_.Run(50);
  ASSERT_EQ(Voice().state, kEnvelopeRelease);
  TWorkADSR::NoteOn(Voice(), 2, 600);
  ExpectPhase(Until(), kEnvelopeNoteOnRequested, 1, 0);
  EXPECT_EQ(Voice().attack.stepCount, 20);
  EXPECT_EQ(Voice().frequency, 2);
}

// The kernel skips a sample only when every record holds; it tests the records four at a time,
// so the request sits first, inside and last in a group of four and in the records after the
// last full group, among voices that are idle or sustaining.
TEST(EnvelopeVoices, ARequestAmongHeldVoicesIsTakenWhereverItSits) {
  static const std::int32_t time = 10, sustain = 1000;
  struct SCase {
    std::size_t voices, requesting;
  } cases[] = {{1, 0}, {3, 2}, {4, 0}, {4, 3}, {5, 4}, {8, 5}, {9, 8}, {39, 36}, {39, 38}};
  for (const auto& c : cases) {
    std::vector<SADSRRecord> records(c.voices);
    for (std::size_t i = 0; i < c.voices; ++i) {
      SADSRRecord& r = records[i];
      r.attackTime = r.decayTime = r.releaseTime = &time;
      r.sustain = &sustain;
      r.output = i % 2 == 0 ? 0 : 700;
      r.state = i % 2 == 0 ? kEnvelopeIdle : kEnvelopeSustain;
    }
    TKernelRig<TWorkADSR, SADSRRecord> rig(records);
    rig.Run(3);
    TWorkADSR::NoteOn(rig[c.requesting], 1, 300);
    rig.Run(1);
    EXPECT_EQ(rig[c.requesting].state, kEnvelopeAttack) << c.voices << "/" << c.requesting;
    for (std::size_t i = 0; i < c.voices; ++i) {
      if (i != c.requesting) {
        EXPECT_EQ(rig[i].output, i % 2 == 0 ? 0 : 700) << i;
      }
    }
    TWorkADSR::NoteOff(rig[c.requesting]);
    rig.Run(1);
    EXPECT_EQ(rig[c.requesting].state, kEnvelopeRelease) << c.voices << "/" << c.requesting;
  }
}

// The engine moves the state on while the MIDI thread writes requests into it. A note-off that
// lands while a segment ends must still release the voice: each one here has to bring the
// envelope back to idle, or the loop reports a voice stuck in its sustain.
TEST_F(EnvelopeTest, RequestsFromTheMidiThreadAreNeverLost) {
  attack_ = decay_ = release_ = 0;  // a segment ends on every sample or two
  std::atomic<bool> stop{false};
  std::thread engine([&] {
    while (!stop.load(std::memory_order_relaxed))
      rig_.Run(1);
  });
  std::atomic_ref<std::int32_t> state(Voice().state);
  int stuck = 0;
  for (int i = 0; i < 20000 && stuck == 0; ++i) {
    TWorkADSR::NoteOn(Voice(), 1, 100 + i % 50);
    for (int spin = i % 5; spin > 0; --spin)
      std::this_thread::yield();
    TWorkADSR::NoteOff(Voice());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (state.load() != kEnvelopeIdle) {
      if (std::chrono::steady_clock::now() > deadline) {
        stuck = state.load();
        break;
      }
      std::this_thread::yield();
    }
  }
  stop = true;
  engine.join();
  EXPECT_EQ(stuck, 0) << "a note-off was lost";
  EXPECT_EQ(Voice().output, 0);
}

TEST(MidiKey, NoteOnAndOffWriteTheVoiceRecord) {
  TWorkMidiTaste work;
  EXPECT_FALSE(work.NeedsProcessing());
  EXPECT_EQ(work.GetRecordSize(), 2 * sizeof(std::int32_t));
  SMidiTasteRecord key{0, 0};
  TWorkMidiTaste::NoteOn(key, 450560, 1500);
  EXPECT_EQ(key.amplitude, 1500);
  EXPECT_EQ(key.frequency, 450560);
  TWorkMidiTaste::NoteOff(key);
  EXPECT_EQ(key.amplitude, 0);
  EXPECT_EQ(key.frequency, 450560);  // kept for the release of the note
  TWorkMidiTaste::NoteOn(key, 0, 700);
  EXPECT_EQ(key.frequency, 450560);
  EXPECT_EQ(key.amplitude, 700);
}

// The documented hand-over: a generator reads the key record through its plain input pointers
// while the MIDI thread plays notes on it. Each sample sees either the key up or the note's
// amplitude, never a torn value.
TEST(MidiKey, GeneratorsReadTheKeyWhileTheMidiThreadPlaysIt) {
  const std::vector<std::int32_t> fullScale(kEngineSampleRate, 2048);
  SMidiTasteRecord key{0, Note(69).frequency};
  TKernelRig<TWorkStandardGeneratoren, SStandardGeneratorRecord> oscillator(
      {{0, &key.amplitude, &key.frequency, 0, fullScale.data()}});
  std::atomic<bool> done{false};
  std::thread midi([&] {
    for (int i = 0; i < 20000; ++i) {
      TWorkMidiTaste::NoteOn(key, Note(60 + i % 12).frequency, 1000);
      TWorkMidiTaste::NoteOff(key);
    }
    done = true;
  });
  bool onlyWholeValues = true;
  while (!done.load()) {
    const std::int32_t output = oscillator.Outputs(1)[0];
    onlyWholeValues = onlyWholeValues && (output == 0 || output == 1000);
  }
  midi.join();
  EXPECT_TRUE(onlyWholeValues);
}

}  // namespace
