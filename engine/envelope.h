// The envelope kernel (work type 15): attack, decay, sustain and release, moving the level in
// steps of at most 30 units spread evenly over each segment's time. Note-on and note-off arrive
// from the MIDI thread as requests in the state field; the engine thread plans the segments and
// moves on from there.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/work_object.h"

// One segment: `stepCount` + 1 steps of `increment`, each after `samplesPerStep` + 1 samples.
struct SSegment {
  std::int32_t increment;  // level units per step
  std::int32_t samplesPerStep;
  std::int32_t stepCount;
};

enum EEnvelopeState : std::int32_t {
  kEnvelopeIdle = 0,
  kEnvelopeNoteOnRequested = 1,
  kEnvelopeAttack = 2,
  kEnvelopeDecay = 3,
  kEnvelopeSustain = 4,
  kEnvelopeNoteOffRequested = 5,
  kEnvelopeRelease = 6,
};

struct SADSRRecord {
  std::int32_t peakLevel;  // 2048 = unity; the key amplitude at note-on
  SSegment attack;
  SSegment decay;
  std::int32_t sustainLevel;
  SSegment release;
  const std::int32_t* attackTime;   // milliseconds
  const std::int32_t* decayTime;    // milliseconds
  const std::int32_t* sustain;      // fraction of the peak level in 1/2000
  const std::int32_t* releaseTime;  // milliseconds
  std::int32_t output;              // level, 2048 = unity
  std::int32_t frequency;           // hertz x 1024 of the note, set at note-on
  std::int32_t increment;           // of the running segment
  std::int32_t sampleCounter;
  std::int32_t stepCounter;
  std::int32_t samplesPerStep;  // of the running segment
  std::int32_t stepCount;       // of the running segment
  std::int32_t state;           // EEnvelopeState; the hand-over point with the MIDI thread
};

// Steps of at most 30 level units covering `delta` in `samples` samples; a delta below 30
// (or negative) is one step, a delta of 0 is 30 steps of 0, and 0 samples apply it at once.
SSegment SetupSegment(std::int32_t delta, std::int32_t samples);

class TWorkADSR : public TWorkRecords<SADSRRecord> {
 public:
  void SetSampleRate(std::int32_t rate) override { sampleRate = rate; }
  void Prepare() override;
  // A sample on which every record held after the sample before and no request came costs one
  // load: a chord of held notes does nothing else for seconds.
  void ProcessSample() override;

  // MIDI thread. The note's frequency and peak are published before the request, so the engine
  // plans with them; a later request replaces an earlier one that the engine has not taken yet.
  static void NoteOn(SADSRRecord& record, std::int32_t frequency, std::int32_t peakLevel);
  static void NoteOff(SADSRRecord& record);

  std::int32_t sampleRate = kEngineSampleRate;  // samples per second

 private:
  // Counts every request of every envelope in the process, after its state is stored: a count
  // the engine has not seen yet makes it look at its records (another sound's request costs it
  // one look, nothing more).
  inline static std::atomic<std::uint32_t> requests_{0};
  std::uint32_t requestsSeen_ = 0;
  bool moving_ = true;  // some record did not hold after the last sample
};
