// Shared pieces of the kernel benchmarks: records laid out as a sound start lays them out, the
// kernel run through its virtual call as the engine thread runs it, and the plain loop that does
// the same arithmetic as the baseline, both reporting nanoseconds per record and sample.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "engine/work_object.h"

// One module per record, registered in order, then prepared as the engine thread prepares it.
template <class Work, class Record>
void Bind(Work& work, std::vector<Record>& records) {
  work.SetSampleRate(kEngineSampleRate);
  for (std::size_t i = 0; i < records.size(); ++i) {
    work.RegisterModule(reinterpret_cast<const TEngineModule*>((i + 1) * 64), 1);
  }
  work.records = reinterpret_cast<std::byte*>(records.data());
  work.Prepare();
}

// Reports under `name` the time per item (shown in seconds with a prefix: "2.1n" is 2.1 ns),
// `items` being handled by each iteration.
inline void CountTimePerItem(benchmark::State& state, const char* name, std::size_t items) {
  state.counters[name] =
      benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(items),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

inline void CountRecordSamples(benchmark::State& state, std::size_t records) {
  CountTimePerItem(state, "ns_per_record", records);
}

// The kernel of `Work`, one sample per iteration.
template <class Work, class Record>
void RunKernel(benchmark::State& state, std::vector<Record> records) {
  Work work;
  Bind(work, records);
  TWorkBasisklassen& engineView = work;
  for (auto _ : state) {
    engineView.ProcessSample();
    benchmark::ClobberMemory();
  }
  CountRecordSamples(state, records.size());
}

// `step` over the records in a plain forward loop, one sample per iteration.
template <class Record, class Step>
void RunBaseline(benchmark::State& state, std::vector<Record> records, Step step) {
  for (auto _ : state) {
    for (Record& record : records)
      step(record);
    benchmark::ClobberMemory();
  }
  CountRecordSamples(state, records.size());
}
