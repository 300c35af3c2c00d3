// Cost of the oscillator and envelope kernels per record and sample, each next to a plain loop
// doing the same arithmetic over the same records. The baselines keep only the plain checks
// (one subtraction of the cycle, an index compared for equality, a plain state byte), so the
// ratio shows what the virtual call, the backward walk, the out-of-range guards and the
// envelope's atomic hand-over cost together.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/amplitude.h"
#include "engine/envelope.h"
#include "engine/noise_generators.h"
#include "engine/pulse_generator.h"
#include "engine/table_generators.h"
#include "engine/waveform_tables.h"
#include "kernel_bench.h"

namespace {

constexpr int kRecords = 256;
constexpr int kVoices = 39;
constexpr std::int32_t kLimit = kEngineSampleRate << 10;

const TWaveformTables& Tables() {
  static const TWaveformTables tables(kEngineSampleRate);
  return tables;
}

// Per record: a frequency between 20 Hz and about 5 kHz (x 1024), an amplitude, a control value.
struct SInputs {
  std::vector<std::int32_t> frequency, amplitude, control;
};
const SInputs& Inputs() {
  static const SInputs inputs = [] {
    SInputs in;
    for (int i = 0; i < kRecords; ++i) {
      in.frequency.push_back((20 + (i * 2654435761u) % 5000) * 1024);
      in.amplitude.push_back(512 + i * 6);
      in.control.push_back(static_cast<std::int32_t>((i * 40503u) % 4097) - 2048);
    }
    return in;
  }();
  return inputs;
}
const std::int32_t* Frequency(int i) { return &Inputs().frequency[i]; }
const std::int32_t* Amplitude(int i) { return &Inputs().amplitude[i]; }
const std::int32_t* Control(int i) { return &Inputs().control[i]; }

// The standard step with a single in-range subtraction; `increment` in phase units.
template <class Record>
void PlainTableStep(Record& r, const std::int32_t* table, std::int32_t increment) {
  if (r.phase >= kLimit) r.phase -= kLimit;
  r.output = ScaleByAmplitude(table[r.phase >> 10], *r.amplitude);
  r.phase = WrapAdd(r.phase, increment);
}

std::vector<SStandardGeneratorRecord> StandardRecords() {
  std::vector<SStandardGeneratorRecord> records;
  for (int i = 0; i < kRecords; ++i) {
    records.push_back({0, Amplitude(i), Frequency(i), 0, Tables().Table(i % 4)});
  }
  return records;
}

// The voices of one sine module playing a chord of MIDI notes 36 to 74: one table, and the
// amplitude and frequency of voice i in the envelope record of voice i, as a sound binds them.
std::vector<SStandardGeneratorRecord> VoiceRecords() {
  static const std::vector<SADSRRecord> envelopes = [] {
    std::vector<SADSRRecord> voices(kVoices);
    for (int i = 0; i < kVoices; ++i) {
      voices[i].output = 1024;
      voices[i].frequency =
          static_cast<std::int32_t>(std::lround(440.0 * std::exp2((36 + i - 69) / 12.0) * 1024));
    }
    return voices;
  }();
  std::vector<SStandardGeneratorRecord> records;
  for (const SADSRRecord& voice : envelopes) {
    records.push_back({0, &voice.output, &voice.frequency, 0, Tables().Table(kWaveSinus)});
  }
  return records;
}

std::vector<SSynchGeneratorRecord> SyncRecords() {
  static const std::int32_t running = 1;
  std::vector<SSynchGeneratorRecord> records;
  for (int i = 0; i < kRecords; ++i) {
    records.push_back({0, Amplitude(i), Frequency(i), &running, 0, Tables().Table(i % 4)});
  }
  return records;
}

std::vector<SFMGeneratorRecord> FMRecords() {
  std::vector<SFMGeneratorRecord> records;
  for (int i = 0; i < kRecords; ++i) {
    records.push_back({0, Amplitude(i), Frequency(i), Control(i), 0, Tables().Table(i % 4)});
  }
  return records;
}

std::vector<SPulseGeneratorRecord> PulseRecords() {
  static const std::int32_t width = 689;
  std::vector<SPulseGeneratorRecord> records;
  for (int i = 0; i < kRecords; ++i) {
    records.push_back({0, &width, PulseThreshold(width), Amplitude(i), Frequency(i), 0});
  }
  return records;
}

std::vector<SNoiseGeneratorRecord> NoiseRecords() {
  std::vector<SNoiseGeneratorRecord> records;
  for (int i = 0; i < kRecords; ++i) {
    records.push_back({i * 80, Amplitude(i), 0, Tables().Table(kWaveRauschen)});
  }
  return records;
}

std::vector<SRandomGeneratorRecord> RandomRecords() {
  std::vector<SRandomGeneratorRecord> records;
  for (int i = 0; i < kRecords; ++i) {
    records.push_back({0, i * 80, Amplitude(i), Frequency(i), 0, Tables().Table(kWaveRauschen)});
  }
  return records;
}

std::vector<SWavetableRecord> WavetableRecords() {
  std::vector<SWavetableRecord> records;
  for (int i = 0; i < kRecords; ++i) {
    SWavetableRecord r{0, Amplitude(i), Frequency(i), 0, 4, 0, {}};
    for (int w = 0; w < kWavetableMaxWaves; ++w)
      r.tables[w] = Tables().Table(w % 4);
    records.push_back(r);
  }
  return records;
}

// Envelopes spread over attack, decay and sustain, planned by a first sample. The times are so
// long that no segment ends within a run, so kernel and baseline meet the same paths throughout.
std::vector<SADSRRecord> EnvelopeRecords() {
  static const std::int32_t longTime = 1 << 30, sustain = 1000;  // milliseconds, 1/2000
  TWorkADSR work;
  std::vector<SADSRRecord> records(kRecords);
  for (auto& r : records) {
    r.attackTime = r.decayTime = r.releaseTime = &longTime;
    r.sustain = &sustain;
    TWorkADSR::NoteOn(r, 1, 2048);
  }
  Bind(work, records);
  work.ProcessSample();
  for (int i = 0; i < kRecords; ++i) {
    auto& r = records[i];
    if (i % 3 == 1) r.state = kEnvelopeDecay;
    if (i % 3 == 2) r.state = kEnvelopeSustain;
  }
  return records;
}

// The envelopes of a held chord: every voice sustaining, as in almost every sample of a sound
// whose keys are down.
std::vector<SADSRRecord> HeldEnvelopeRecords() {
  std::vector<SADSRRecord> records(kVoices);
  for (auto& r : records) {
    r.output = 1024;
    r.state = kEnvelopeSustain;
  }
  return records;
}

void Osc_Standard(benchmark::State& state) {
  RunKernel<TWorkStandardGeneratoren>(state, StandardRecords());
}
void Osc_StandardBaseline(benchmark::State& state) {
  RunBaseline(state, StandardRecords(),
              [](SStandardGeneratorRecord& r) { PlainTableStep(r, r.table, *r.frequency); });
}

void Osc_StandardVoices(benchmark::State& state) {
  RunKernel<TWorkStandardGeneratoren>(state, VoiceRecords());
}
void Osc_StandardVoicesBaseline(benchmark::State& state) {
  RunBaseline(state, VoiceRecords(),
              [](SStandardGeneratorRecord& r) { PlainTableStep(r, r.table, *r.frequency); });
}

void Osc_Sync(benchmark::State& state) {
  RunKernel<TWorkStandardSynchGeneratoren>(state, SyncRecords());
}
void Osc_SyncBaseline(benchmark::State& state) {
  RunBaseline(state, SyncRecords(), [](SSynchGeneratorRecord& r) {
    if (*r.sync <= 0) {
      r.phase = r.output = 0;
      return;
    }
    PlainTableStep(r, r.table, *r.frequency);
  });
}

void Osc_FM(benchmark::State& state) { RunKernel<TWorkStandardFMGeneratoren>(state, FMRecords()); }
void Osc_FMBaseline(benchmark::State& state) {
  RunBaseline(state, FMRecords(), [](SFMGeneratorRecord& r) {
    if (r.phase >= kLimit) {
      r.phase %= kLimit;
    } else if (r.phase < 0) {
      const std::int32_t rest = -r.phase % kLimit;
      r.phase = rest == 0 ? 0 : kLimit - rest;
    }
    r.output = ScaleByAmplitude(r.table[r.phase >> 10], *r.amplitude);
    r.phase = WrapAdd(r.phase, WrapAdd(*r.frequency, WrapMul(*r.modulation, 512)));
  });
}

void Osc_Pulse(benchmark::State& state) {
  RunKernel<TWorkRechteckGeneratoren>(state, PulseRecords());
}
void Osc_PulseBaseline(benchmark::State& state) {
  RunBaseline(state, PulseRecords(), [](SPulseGeneratorRecord& r) {
    if (r.phase < r.threshold) {
      r.output = *r.amplitude;
    } else {
      if (r.phase >= kLimit) {
        r.threshold = std::abs(*r.pulseWidth << 14);
        r.phase -= kLimit;
      }
      r.output = -*r.amplitude;
    }
    r.phase = WrapAdd(r.phase, *r.frequency);
  });
}

void Osc_Noise(benchmark::State& state) {
  RunKernel<TWorkRauschGeneratoren>(state, NoiseRecords());
}
void Osc_NoiseBaseline(benchmark::State& state) {
  RunBaseline(state, NoiseRecords(), [](SNoiseGeneratorRecord& r) {
    if (r.index == kEngineSampleRate) r.index = 0;
    r.output = ScaleByAmplitude(r.table[r.index], *r.amplitude);
    ++r.index;
  });
}

void Osc_Random(benchmark::State& state) {
  RunKernel<TWorkZufallsGeneratoren>(state, RandomRecords());
}
void Osc_RandomBaseline(benchmark::State& state) {
  RunBaseline(state, RandomRecords(), [](SRandomGeneratorRecord& r) {
    if (r.holdCounter-- != 0) return;
    r.holdCounter = (5121024 - *r.rate) * 20;
    if (r.index == kEngineSampleRate) r.index = 0;
    r.output = ScaleByAmplitude(r.table[r.index], *r.amplitude);
    ++r.index;
  });
}

void Osc_Wavetable(benchmark::State& state) {
  RunKernel<TWorkWavetable>(state, WavetableRecords());
}
void Osc_WavetableBaseline(benchmark::State& state) {
  RunBaseline(state, WavetableRecords(), [](SWavetableRecord& r) {
    if (r.phase >= kLimit) {
      r.phase -= kLimit;
      if (++r.currentWave >= r.waveCount) r.currentWave = 0;
    }
    r.output = ScaleByAmplitude(r.tables[r.currentWave][r.phase >> 10], *r.amplitude);
    r.phase = WrapAdd(r.phase, *r.frequency);
  });
}

void Env_ADSR(benchmark::State& state) { RunKernel<TWorkADSR>(state, EnvelopeRecords()); }
void Env_ADSRBaseline(benchmark::State& state) {
  RunBaseline(state, EnvelopeRecords(), [](SADSRRecord& r) {
    switch (r.state) {
      case kEnvelopeAttack:
      case kEnvelopeDecay:
      case kEnvelopeRelease:
        if (++r.sampleCounter <= r.samplesPerStep) return;
        r.sampleCounter = 0;
        r.output = WrapAdd(r.output, r.increment);
        if (++r.stepCounter <= r.stepCount) return;
        r.stepCounter = 0;
        return;
      default:
        return;
    }
  });
}
void Env_ADSRHeld(benchmark::State& state) { RunKernel<TWorkADSR>(state, HeldEnvelopeRecords()); }
void Env_ADSRHeldBaseline(benchmark::State& state) {
  RunBaseline(state, HeldEnvelopeRecords(), [](SADSRRecord& r) {
    if (r.state != kEnvelopeSustain) ++r.sampleCounter;
  });
}

BENCHMARK(Osc_Standard);
BENCHMARK(Osc_StandardBaseline);
BENCHMARK(Osc_StandardVoices);
BENCHMARK(Osc_StandardVoicesBaseline);
BENCHMARK(Osc_Sync);
BENCHMARK(Osc_SyncBaseline);
BENCHMARK(Osc_FM);
BENCHMARK(Osc_FMBaseline);
BENCHMARK(Osc_Pulse);
BENCHMARK(Osc_PulseBaseline);
BENCHMARK(Osc_Noise);
BENCHMARK(Osc_NoiseBaseline);
BENCHMARK(Osc_Random);
BENCHMARK(Osc_RandomBaseline);
BENCHMARK(Osc_Wavetable);
BENCHMARK(Osc_WavetableBaseline);
BENCHMARK(Env_ADSR);
BENCHMARK(Env_ADSRBaseline);
BENCHMARK(Env_ADSRHeld);
BENCHMARK(Env_ADSRHeldBaseline);

}  // namespace

BENCHMARK_MAIN();
