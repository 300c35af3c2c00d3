// Cost of the speaker, volume-view and scope kernels per record and sample, each next to a plain
// loop doing the same arithmetic over the same amount of memory. The speaker baseline writes its
// pairs into a buffer of its own and wraps at the end instead of changing buffers; the ratio
// therefore shows what the virtual call, the backward walk, the buffer bookkeeping and the
// correction counter cost together.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/scope_kernel.h"
#include "engine/speaker_kernels.h"
#include "engine/volume_view_kernel.h"
#include "engine/wave_out_driver.h"
#include "engine/wrap_arith.h"
#include "kernel_bench.h"

namespace {

constexpr int kSpeakers = 8;
constexpr int kRecords = 256;
constexpr std::uint32_t kCapture = 4096;

// A device that finishes every buffer as soon as it is written, at the pace the kernel writes.
class TDiscardDevice : public TWaveOutDevice {
 public:
  int Open(int, const SWaveFormat&, TWaveOutDoneReport& report,
           std::unique_ptr<TWaveOutStream>& stream) override {
    stream = std::make_unique<TStream>(report);
    return kWaveNoError;
  }
  bool CanOpen(int, const SWaveFormat&) override { return true; }
  std::string ErrorText(int code) const override { return WaveResultText(code); }

 private:
  struct TStream : TWaveOutStream {
    explicit TStream(TWaveOutDoneReport& report) : report(report) {}
    int Write(SWaveHeader& header) override {
      played += header.bufferLength / 2;
      report.BufferDone(header);
      return kWaveNoError;
    }
    int Reset() override { return kWaveNoError; }
    std::uint32_t GetPosition() const override { return played; }
    int Close() override { return kWaveNoError; }
    TWaveOutDoneReport& report;
    std::atomic<std::uint32_t> played{0};
  };
};

std::vector<std::int32_t> Signals(int count) {
  std::vector<std::int32_t> signals(count);
  for (int i = 0; i < count; ++i)
    signals[i] = static_cast<std::int32_t>((i * 40503u) % 4097) - 2048;
  return signals;
}

void Output_MonoSpeaker(benchmark::State& state) {
  const std::vector<std::int32_t> inputs = Signals(kSpeakers);
  auto device = std::make_shared<TDiscardDevice>();
  std::vector<std::unique_ptr<TWorkWaveOut>> drivers;
  std::vector<SLautsprecherRecord> records(kSpeakers);
  for (int i = 0; i < kSpeakers; ++i) {
    drivers.push_back(std::make_unique<TWorkWaveOut>(device));
    drivers.back()->Open(0, 0, false);
    records[i].left = &inputs[i];
    records[i].driver = drivers.back().get();
  }
  RunKernel<TWorkLautsprecher>(state, std::move(records));
}

void Output_MonoSpeakerBaseline(benchmark::State& state) {
  struct SPlain {
    const std::int32_t* input;
    std::int32_t previous;
    std::byte* data;
    std::uint32_t position, frames;
    std::int32_t spacing;
  };
  const std::vector<std::int32_t> inputs = Signals(kSpeakers);
  std::vector<std::vector<std::byte>> buffers(
      kSpeakers, std::vector<std::byte>(TWorkWaveOut::kMonoBufferBytes));
  std::vector<SPlain> records(kSpeakers);
  for (int i = 0; i < kSpeakers; ++i)
    records[i] = {&inputs[i], 0, buffers[i].data(), 0, 0, 0};
  for (auto _ : state) {
    for (SPlain& r : records) {
      const std::int32_t x = *r.input;
      const auto middle =
          static_cast<std::uint16_t>(WrapAdd(r.previous, WrapSub(x, r.previous) >> 1));
      const auto sample = static_cast<std::uint16_t>(x);
      std::memcpy(r.data + r.position, &middle, 2);
      std::memcpy(r.data + r.position + 2, &sample, 2);
      r.position = r.position + 4 < TWorkWaveOut::kMonoBufferBytes ? r.position + 4 : 0;
      r.frames += 2;
      r.previous = x;
      r.spacing = r.spacing > 2000 ? 0 : r.spacing + 1;
    }
    benchmark::ClobberMemory();
  }
  CountRecordSamples(state, kSpeakers);
}

void Analysis_VolumeView(benchmark::State& state) {
  const std::vector<std::int32_t> inputs = Signals(kRecords);
  TLevelMailbox mailbox;
  std::vector<SLautstaerkeSehenRecord> records(kRecords);
  for (int i = 0; i < kRecords; ++i)
    records[i] = {&inputs[i], &mailbox, i * 13 % 3501, 0};
  TWorkLautstaerkeSehen work;
  Bind(work, records);
  TWorkBasisklassen& engineView = work;
  for (auto _ : state) {
    engineView.ProcessSample();
    for (std::int32_t level = 0; mailbox.Take(level);)  // the GUI keeps up
      benchmark::DoNotOptimize(level);
    benchmark::ClobberMemory();
  }
  CountRecordSamples(state, kRecords);
}

void Analysis_VolumeViewBaseline(benchmark::State& state) {
  struct SPlain {
    const std::int32_t* input;
    std::int32_t samples;
    std::uint64_t total;
  };
  const std::vector<std::int32_t> inputs = Signals(kRecords);
  TLevelMailbox mailbox;
  std::vector<SPlain> records(kRecords);
  for (int i = 0; i < kRecords; ++i)
    records[i] = {&inputs[i], i * 13 % 3501, 0};
  for (auto _ : state) {
    for (SPlain& r : records) {
      const std::int32_t x = *r.input;
      r.total += static_cast<std::uint32_t>(x < 0 ? -x : x);
      if (r.samples == 3500) {
        r.samples = 0;
        mailbox.Post(static_cast<std::int32_t>(r.total / 3500));
        r.total = 0;
      } else {
        ++r.samples;
      }
    }
    for (std::int32_t level = 0; mailbox.Take(level);)
      benchmark::DoNotOptimize(level);
    benchmark::ClobberMemory();
  }
  CountRecordSamples(state, kRecords);
}

void Analysis_Scope(benchmark::State& state) {
  const std::vector<std::int32_t> inputs = Signals(kRecords);
  std::vector<std::atomic<std::int32_t>> memory(std::size_t{kRecords} * kCapture);
  std::vector<SScopeCapture> captures(kRecords);
  std::vector<SSehenRecord> records(kRecords);
  for (int i = 0; i < kRecords; ++i) {
    captures[i].capacity = kCapture;
    captures[i].samples = memory.data() + std::size_t{kCapture} * i;
    records[i] = {&inputs[i], &captures[i], 0, 0};
  }
  TWorkSehen work;
  Bind(work, records);
  TWorkBasisklassen& engineView = work;
  std::uint32_t sample = 0;
  for (auto _ : state) {
    engineView.ProcessSample();
    if (++sample > kCapture) {  // armed again, as a new binding would
      sample = 0;
      for (SSehenRecord& r : records)
        r.done = 0, r.count = 0;
    }
    benchmark::ClobberMemory();
  }
  CountRecordSamples(state, kRecords);
}

void Analysis_ScopeBaseline(benchmark::State& state) {
  struct SPlain {
    const std::int32_t* input;
    std::int32_t* samples;
    std::uint32_t count;
  };
  const std::vector<std::int32_t> inputs = Signals(kRecords);
  std::vector<std::int32_t> memory(std::size_t{kRecords} * kCapture);
  std::vector<SPlain> records(kRecords);
  for (int i = 0; i < kRecords; ++i)
    records[i] = {&inputs[i], memory.data() + std::size_t{kCapture} * i, 0};
  std::uint32_t sample = 0;
  for (auto _ : state) {
    for (SPlain& r : records)
      if (r.count < kCapture) r.samples[r.count++] = *r.input;
    if (++sample > kCapture) {
      sample = 0;
      for (SPlain& r : records)
        r.count = 0;
    }
    benchmark::ClobberMemory();
  }
  CountRecordSamples(state, kRecords);
}

}  // namespace

BENCHMARK(Output_MonoSpeaker);
BENCHMARK(Output_MonoSpeakerBaseline);
BENCHMARK(Analysis_VolumeView);
BENCHMARK(Analysis_VolumeViewBaseline);
BENCHMARK(Analysis_Scope);
BENCHMARK(Analysis_ScopeBaseline);
BENCHMARK_MAIN();
