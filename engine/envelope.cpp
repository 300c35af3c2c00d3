#include "engine/envelope.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <limits>

#include "engine/work_kernel.h"
#include "engine/wrap_arith.h"

namespace {

constexpr std::int32_t kMaxStep = 30;
constexpr std::int64_t kSustainScale = 2000;

std::atomic_ref<std::int32_t> Shared(std::int32_t& field) {
  return std::atomic_ref<std::int32_t>(field);
}

std::int32_t Saturate(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Samples of a time input. Saturates instead of wrapping, so that a very long time stays long.
std::int32_t SegmentSamples(std::int32_t rate, std::int32_t milliseconds) {
  return Saturate(std::int64_t{rate} * std::llabs(milliseconds) / 1000);
}

// Moves the state on from `from` unless the MIDI thread has put a new request there meanwhile;
// that request then wins and is taken on the next sample, so no note-on or note-off is lost.
void MoveOn(SADSRRecord& r, std::int32_t from, std::int32_t to) {
  Shared(r.state).compare_exchange_strong(from, to, std::memory_order_relaxed);
}

void RunSegment(SADSRRecord& r, const SSegment& segment) {
  r.increment = segment.increment;
  r.samplesPerStep = segment.samplesPerStep;
  r.stepCount = segment.stepCount;
  r.sampleCounter = 0;
  r.stepCounter = 0;
}

void PlanNote(SADSRRecord& r, std::int32_t rate) {
  const std::int32_t peak = Shared(r.peakLevel).load(std::memory_order_relaxed);
  r.attack = SetupSegment(peak, SegmentSamples(rate, *r.attackTime));
  r.sustainLevel = Saturate(std::int64_t{peak} * std::llabs(*r.sustain) / kSustainScale);
  const std::int32_t decaySamples = SegmentSamples(rate, *r.decayTime);
  if (r.sustainLevel < peak) {
    r.decay = SetupSegment(WrapSub(peak, r.sustainLevel), decaySamples);
    r.decay.increment = WrapNeg(r.decay.increment);
  } else {
    r.decay = SetupSegment(WrapSub(r.sustainLevel, peak), decaySamples);
  }
  r.output = 0;
  RunSegment(r, r.attack);
}

void PlanRelease(SADSRRecord& r, std::int32_t rate) {
  r.release = SetupSegment(r.output, SegmentSamples(rate, *r.releaseTime));
  RunSegment(r, r.release);
  r.increment = WrapNeg(r.release.increment);
}

void EndSegment(SADSRRecord& r, std::int32_t state) {
  switch (state) {
    case kEnvelopeAttack:
      RunSegment(r, r.decay);
      MoveOn(r, state, kEnvelopeDecay);
      return;
    case kEnvelopeDecay:
      // Lands exactly on the sustain level whatever the steps added up to.
      r.output = r.sustainLevel;
      MoveOn(r, state, kEnvelopeSustain);
      return;
    case kEnvelopeRelease:
      r.output = 0;
      MoveOn(r, state, kEnvelopeIdle);
      return;
    default:
      return;
  }
}

// One sample of a running segment: a step when the sample counter passes its limit, the
// segment's end when the step counter passes its limit. Comparing before counting keeps the
// counters from overflowing at the longest times.
void AdvanceSegment(SADSRRecord& r, std::int32_t state) {
  if (r.sampleCounter < r.samplesPerStep) {
    ++r.sampleCounter;
    return;
  }
  r.sampleCounter = 0;
  r.output = WrapAdd(r.output, r.increment);
  if (r.stepCounter < r.stepCount) {
    ++r.stepCounter;
    return;
  }
  r.stepCounter = 0;
  EndSegment(r, state);
}

bool IsRunningSegment(std::int32_t state) {
  switch (state) {
    case kEnvelopeAttack:
    case kEnvelopeDecay:
    case kEnvelopeRelease:
      return true;
    default:
      return false;
  }
}

// Idle (0) and sustain (4) hold their output until the next request, so they have nothing to
// count; one test on the state's other bits finds both.
bool IsHolding(std::int32_t state) { return (state & ~kEnvelopeSustain) == kEnvelopeIdle; }
static_assert(kEnvelopeIdle == 0 && (kEnvelopeSustain & (kEnvelopeSustain - 1)) == 0,
              "the holding test needs idle at 0 and the sustain a single bit");

// The holding voices come first, then the running segments: they are what almost every sample
// of a voice meets.
void StepEnvelope(SADSRRecord& r, std::int32_t rate) {
  const std::int32_t state = Shared(r.state).load(std::memory_order_acquire);
  if (IsHolding(state)) [[likely]]
    return;
  if (IsRunningSegment(state)) {
    AdvanceSegment(r, state);
  } else if (state == kEnvelopeNoteOnRequested) {
    PlanNote(r, rate);
    MoveOn(r, state, kEnvelopeAttack);
  } else if (state == kEnvelopeNoteOffRequested) {
    PlanRelease(r, rate);
    MoveOn(r, state, kEnvelopeRelease);
  }
}

std::int32_t StateOf(SADSRRecord& r) { return Shared(r.state).load(std::memory_order_acquire); }

}  // namespace

SSegment SetupSegment(std::int32_t delta, std::int32_t samples) {
  if (samples == 0) return {delta, 0, 0};
  const std::int32_t increment = std::min(delta, kMaxStep);
  // increment equals delta whenever it is not 30, so the quotient is 1 then: no division of
  // INT32_MIN by -1 and never by 0.
  const std::int32_t steps = increment == 0 ? kMaxStep : delta / increment;
  return {increment, samples / steps, steps};
}

void TWorkADSR::Prepare() {
  TWorkRecords::Prepare();
  moving_ = true;
}

void TWorkADSR::ProcessSample() {
  const std::uint32_t requests = requests_.load(std::memory_order_acquire);
  if (requests == requestsSeen_ && !moving_) [[likely]]
    return;
  requestsSeen_ = requests;
  const std::int32_t rate = sampleRate;
  std::int32_t states = kEnvelopeIdle;
  ForEachRecordBackward(firstRecord, lastRecord, [rate, &states](SADSRRecord& r) {
    StepEnvelope(r, rate);
    states |= StateOf(r);
  });
  moving_ = !IsHolding(states);
}

void TWorkADSR::NoteOn(SADSRRecord& record, std::int32_t frequency, std::int32_t peakLevel) {
  Shared(record.frequency).store(frequency, std::memory_order_relaxed);
  Shared(record.peakLevel).store(peakLevel, std::memory_order_relaxed);
  Shared(record.state).store(kEnvelopeNoteOnRequested, std::memory_order_release);
  requests_.fetch_add(1, std::memory_order_release);
}

void TWorkADSR::NoteOff(SADSRRecord& record) {
  Shared(record.state).store(kEnvelopeNoteOffRequested, std::memory_order_release);
  requests_.fetch_add(1, std::memory_order_release);
}
