// Cost of the mixing, logic and delay kernels per record and sample, each next to a plain loop
// doing the same arithmetic over the same records. The kernel pays one virtual call per sample
// and walks its records backwards; the ratio of the two shows what that costs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "engine/delay_kernel.h"
#include "engine/logic_kernels.h"
#include "engine/mixer_kernels.h"
#include "kernel_bench.h"

namespace {

constexpr int kRecords = 256;
constexpr std::int32_t kDelayMaxLength = 4410;

// Signal values the records read: a spread of audio values, controls and divisors.
const std::vector<std::int32_t>& Signals() {
  static const std::vector<std::int32_t> signals = [] {
    std::vector<std::int32_t> values(3 * kRecords);
    for (std::size_t i = 0; i < values.size(); ++i) {
      values[i] = static_cast<std::int32_t>((i * 2654435761u) % 4097) - 2048;
    }
    return values;
  }();
  return signals;
}

const std::int32_t* Signal(int index) { return &Signals()[static_cast<std::size_t>(index)]; }

std::vector<SVerknuepfungRecord> TwoInputRecords() {
  std::vector<SVerknuepfungRecord> records(kRecords);
  for (int i = 0; i < kRecords; ++i)
    records[i] = {Signal(2 * i), Signal(2 * i + 1), 0};
  return records;
}

std::vector<SAufloesungRecord> ResolutionRecords() {
  std::vector<SAufloesungRecord> records(kRecords);
  for (int i = 0; i < kRecords; ++i)
    records[i] = {Signal(i), 0, ~0u << (i % 12)};
  return records;
}

std::vector<SAddiererRecord> AdderRecords() {
  static const std::int32_t* const sources[] = {Signal(1), Signal(2), Signal(3), Signal(4)};
  std::vector<SAddiererRecord> records(kRecords);
  for (int i = 0; i < kRecords; ++i)
    records[i] = {4, sources, 0, 0};
  return records;
}

std::vector<SCrossfadeRecord> CrossfadeRecords() {
  std::vector<SCrossfadeRecord> records(kRecords);
  for (int i = 0; i < kRecords; ++i)
    records[i] = {Signal(3 * i), Signal(3 * i + 1), Signal(3 * i + 2), 0};
  return records;
}

std::vector<SStereoPanRecord> PanRecords() {
  std::vector<SStereoPanRecord> records(kRecords);
  for (int i = 0; i < kRecords; ++i)
    records[i] = {Signal(2 * i), Signal(2 * i + 1), 0, 0};
  return records;
}

std::vector<SDelayRecord> DelayRecords() {
  static std::vector<std::int32_t> memory(std::size_t{kRecords} * kDelayMaxLength, 0);
  static const std::int32_t fullDelay = 2048;
  std::vector<SDelayRecord> records(kRecords);
  for (int i = 0; i < kRecords; ++i) {
    records[i] = {&fullDelay,
                  kDelayMaxLength,
                  Signal(i),
                  kDelayMaxLength,
                  memory.data() + std::size_t{kDelayMaxLength} * i,
                  0,
                  0};
  }
  return records;
}

// A combiner of 39 voices: one record whose sources are the outputs of one module's voice
// records, ten values apart as those of a table oscillator are.
std::vector<SAddiererRecord> CombinerRecords() {
  constexpr int kVoices = 39, kSpacing = 10;
  static const std::vector<const std::int32_t*> sources = [] {
    std::vector<const std::int32_t*> voices;
    for (int i = 0; i < kVoices; ++i)
      voices.push_back(Signal(i * kSpacing));
    return voices;
  }();
  return {{kVoices, sources.data(), 0, 0}};
}

void PlainSum(SAddiererRecord& r) {
  std::uint32_t sum = 0;
  for (int i = 0; i < r.Count; ++i)
    sum += static_cast<std::uint32_t>(*r.Sources[i]);
  r.Output = static_cast<std::int32_t>(sum);
}

void Mixer_Adder(benchmark::State& state) { RunKernel<TWorkAddierer>(state, AdderRecords()); }
void Mixer_AdderBaseline(benchmark::State& state) { RunBaseline(state, AdderRecords(), PlainSum); }

// Per source of the one record.
void Mixer_Combiner(benchmark::State& state) {
  RunKernel<TWorkAddierer>(state, CombinerRecords());
  CountTimePerItem(state, "ns_per_source", static_cast<std::size_t>(CombinerRecords()[0].Count));
}
void Mixer_CombinerBaseline(benchmark::State& state) {
  RunBaseline(state, CombinerRecords(), PlainSum);
  CountTimePerItem(state, "ns_per_source", static_cast<std::size_t>(CombinerRecords()[0].Count));
}

void Mixer_CrossfadePan(benchmark::State& state) {
  RunKernel<TWorkCrossfadeRichtung>(state, CrossfadeRecords());
}
void Mixer_CrossfadePanBaseline(benchmark::State& state) {
  RunBaseline(state, CrossfadeRecords(), [](SCrossfadeRecord& r) {
    const std::int32_t p = *r.Input1;
    const std::int32_t first = p > -2048 ? WrapMul(*r.Input2, WrapAdd(p, 2048)) >> 10 : 0;
    const std::int32_t second = p < 2048 ? WrapMul(*r.Input3, WrapSub(2048, p)) >> 10 : 0;
    r.Output = WrapAdd(first, second);
  });
}

void Mixer_StereoPan(benchmark::State& state) { RunKernel<TWorkStereoPan>(state, PanRecords()); }
void Mixer_StereoPanBaseline(benchmark::State& state) {
  RunBaseline(state, PanRecords(), [](SStereoPanRecord& r) {
    const std::int32_t p = *r.Input1;
    const std::int32_t s = *r.Input2;
    r.Left = p > -2048 ? WrapMul(s, WrapAdd(p, 2048)) >> 10 : 0;
    r.Right = p < 2048 ? WrapMul(s, WrapSub(2048, p)) >> 10 : 0;
  });
}

void Logic_Volume(benchmark::State& state) {
  RunKernel<TWorkLautstaerke>(state, TwoInputRecords());
}
void Logic_VolumeBaseline(benchmark::State& state) {
  RunBaseline(state, TwoInputRecords(),
              [](SVerknuepfungRecord& r) { r.Output = WrapMul(*r.Input1, *r.Input2) >> 11; });
}

void Logic_Division(benchmark::State& state) { RunKernel<TWorkDivision>(state, TwoInputRecords()); }
void Logic_DivisionBaseline(benchmark::State& state) {
  RunBaseline(state, TwoInputRecords(), [](SVerknuepfungRecord& r) {
    const std::int32_t x1 = *r.Input1, x2 = *r.Input2;
    r.Output = x2 == 0 ? x1 : x2 == -1 ? WrapNeg(x1) : x1 / x2;
  });
}

void Logic_Resolution(benchmark::State& state) {
  RunKernel<TWorkAufloesung>(state, ResolutionRecords());
}
void Logic_ResolutionBaseline(benchmark::State& state) {
  RunBaseline(state, ResolutionRecords(), [](SAufloesungRecord& r) {
    r.Output = static_cast<std::int32_t>(static_cast<std::uint32_t>(*r.Input1) & r.Mask);
  });
}

void Delay_Line(benchmark::State& state) { RunKernel<TWorkDelay>(state, DelayRecords()); }
void Delay_LineBaseline(benchmark::State& state) {
  RunBaseline(state, DelayRecords(), [](SDelayRecord& r) {
    r.Output = r.Buffer[r.Position];
    r.Buffer[r.Position] = *r.Input;
    if (++r.Position >= r.Length) {
      r.Position = 0;
      r.Length = DelayLength(*r.Control, r.MaxLength);
    }
  });
}

BENCHMARK(Mixer_Adder);
BENCHMARK(Mixer_AdderBaseline);
BENCHMARK(Mixer_Combiner);
BENCHMARK(Mixer_CombinerBaseline);
BENCHMARK(Mixer_CrossfadePan);
BENCHMARK(Mixer_CrossfadePanBaseline);
BENCHMARK(Mixer_StereoPan);
BENCHMARK(Mixer_StereoPanBaseline);
BENCHMARK(Logic_Volume);
BENCHMARK(Logic_VolumeBaseline);
BENCHMARK(Logic_Division);
BENCHMARK(Logic_DivisionBaseline);
BENCHMARK(Logic_Resolution);
BENCHMARK(Logic_ResolutionBaseline);
BENCHMARK(Delay_Line);
BENCHMARK(Delay_LineBaseline);

}  // namespace

BENCHMARK_MAIN();
