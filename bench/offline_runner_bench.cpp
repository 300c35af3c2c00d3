// Throughput of the offline runner on the patch a polyphonic sound is made of: per voice an
// envelope held in its sustain, which drives the amplitude and frequency of a sine oscillator,
// and an amplifier set by one volume constant; a combiner sums the voices of a poly chain and one
// mono speaker writes the sum through the WAV-file output device, which plays two frames per
// engine sample, moved along in steps as the headless renderer moves it. Everything runs through
// the real engine: its record layout, its active work list and the offline runner.
//
// The engine has at most 39 voices. Larger counts use several copies of the poly chain (each
// with its combiner) and one adder over the combiners, with the largest voice count up to 39
// that divides the total, so that every count is exactly that many voices.
//
// Next to it runs the same bound patch computed by plain loops over its records by module type
// (OfflineRunner_SineVoicesBareLoop): the floor, measured in the same run, so that the ratio
// says what the engine, the runner and the device add whatever else the machine is doing.
//
// Reported: "realtime", seconds of sound computed per second of processor time of the running
// thread, and "ns_per_voice", that processor time per voice and engine sample.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <new>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "engine/bind_context.h"
#include "engine/constant_work.h"
#include "engine/engine_host.h"
#include "engine/engine_module.h"
#include "engine/envelope.h"
#include "engine/klang_engine.h"
#include "engine/logic_kernels.h"
#include "engine/mixer_kernels.h"
#include "engine/offline_runner.h"
#include "engine/speaker_kernels.h"
#include "engine/table_generators.h"
#include "engine/wav_file_out_device.h"
#include "engine/wave_out_driver.h"
#include "engine/work_type.h"
#include "engine/wrap_arith.h"
#include "kernel_bench.h"

namespace {

// Two engine slices of 10 ms (221 + 220 samples) per iteration.
constexpr std::int64_t kSamplesPerIteration = 441;
constexpr std::uint32_t kFramesPerEngineSample = 2;
// Engine samples between two moves of the device clock, as the headless renderer steps.
constexpr std::int64_t kStepSamples = 32;
constexpr std::int32_t kUnity = 2048;
constexpr std::int32_t kNoTime = 0;  // milliseconds: read by note-on and note-off only

// Hertz x 1024, spread over 110..4010 Hz so that the voices read the sine table all over.
std::int32_t FrequencyOfVoice(int index) { return (110 + index * 37 % 3900) * 1024; }

// The largest voice count up to the engine's limit that divides `voices`.
int ChainVoiceCount(int voices) {
  for (int count = TKlangEngine::kMaxVoices; count > 1; --count) {
    if (voices % count == 0) return count;
  }
  return 1;
}

template <class Record>
Record& RecordOf(const TBindContext& context, const TEngineModule& module, int voice) {
  return *context.RecordOf<Record>(module, voice);
}

// A module of the patch: its work type and how it fills its record for one voice.
class TPatchModule : public TEngineModule {
 public:
  using TBinder = std::function<void(int voice, void* record, TBindContext& context)>;

  TPatchModule(TWorkType type, bool mono, TBinder bind)
      : type_(type), mono_(mono), bind_(std::move(bind)) {}

  int GetWorkType() const override { return type_; }
  bool IsMono() const override { return mono_; }
  void BindWork(int voice, void* record, TBindContext& context) override {
    bind_(voice, record, context);
  }
  void SoundStarted(TKlangEngine&, int) override {}
  void SoundStopped(TKlangEngine&, int) override {}

 private:
  TWorkType type_;
  bool mono_;
  TBinder bind_;
};

constexpr bool kMono = true;
constexpr bool kPoly = false;

// The summing record of a combiner or an adder over `sources`, which the caller keeps alive.
void BindSum(void* record, std::vector<const std::int32_t*>& sources) {
  new (record) SAddiererRecord{static_cast<std::int32_t>(sources.size()), sources.data(), 0, 0};
}

class TVoicePatch : public TEngineHost {
 public:
  TVoicePatch(int voices, TWorkWaveOut& driver) : voicesPerChain_(ChainVoiceCount(voices)) {
    // Each voice at 1/voices of full scale, so that the sum stays within the audio range.
    const std::int32_t level = std::max(kUnity / voices, 1);
    const TPatchModule& volume =
        Add(kWorkKonstanten, kMono,
            [level](int, void* record, TBindContext&) { new (record) SKonstantenRecord{level}; });
    std::vector<const TPatchModule*> combiners;
    for (int first = 0; first < voices; first += voicesPerChain_)
      combiners.push_back(&AddVoiceChain(first, volume));
    AddSpeaker(combiners.size() == 1 ? *combiners.front() : AddAdder(combiners), driver);
  }

  int VoicesPerChain() const { return voicesPerChain_; }

  void CollectModules(int, std::vector<TEngineModule*>& modules) override {
    for (const auto& module : modules_)
      modules.push_back(module.get());
  }
  void RevalidatePatch() override {}
  void VoiceCountChanged(int) override {}

 private:
  const TPatchModule& Add(TWorkType type, bool mono, TPatchModule::TBinder bind) {
    modules_.push_back(std::make_unique<TPatchModule>(type, mono, std::move(bind)));
    return *modules_.back();
  }

  std::vector<const std::int32_t*>& NewSources(std::size_t count) {
    sources_.push_back(std::make_unique<std::vector<const std::int32_t*>>(count));
    return *sources_.back();
  }

  // Envelope, sine and amplifier for voices `firstVoice` on, and the combiner over them.
  const TPatchModule& AddVoiceChain(int firstVoice, const TPatchModule& volume) {
    const TPatchModule& envelope =
        Add(kWorkADSR, kPoly, [firstVoice](int voice, void* record, TBindContext&) {
          BindSustainedEnvelope(*new (record) SADSRRecord{}, FrequencyOfVoice(firstVoice + voice));
        });
    const TPatchModule& sine =
        Add(kWorkStandardGeneratoren, kPoly,
            [&envelope](int voice, void* record, TBindContext& context) {
              auto& source = RecordOf<SADSRRecord>(context, envelope, voice);
              new (record) SStandardGeneratorRecord{0, &source.output, &source.frequency, 0,
                                                    context.WaveTable(kWaveSinus)};
            });
    const TPatchModule& amplifier = Add(
        kWorkLautstaerke, kPoly, [&sine, &volume](int voice, void* record, TBindContext& context) {
          new (record)
              SVerknuepfungRecord{&RecordOf<SStandardGeneratorRecord>(context, sine, voice).output,
                                  &RecordOf<SKonstantenRecord>(context, volume, 0).Value, 0};
        });
    auto& sources = NewSources(voicesPerChain_);
    return Add(
        kWorkAddierer, kMono, [&sources, &amplifier](int, void* record, TBindContext& context) {
          for (std::size_t voice = 0; voice < sources.size(); ++voice) {
            sources[voice] =
                &RecordOf<SVerknuepfungRecord>(context, amplifier, static_cast<int>(voice)).Output;
          }
          BindSum(record, sources);
        });
  }

  const TPatchModule& AddAdder(const std::vector<const TPatchModule*>& combiners) {
    auto& sources = NewSources(combiners.size());
    return Add(kWorkAddierer, kMono,
               [&sources, combiners](int, void* record, TBindContext& context) {
                 for (std::size_t i = 0; i < combiners.size(); ++i)
                   sources[i] = &RecordOf<SAddiererRecord>(context, *combiners[i], 0).Output;
                 BindSum(record, sources);
               });
  }

  void AddSpeaker(const TPatchModule& sum, TWorkWaveOut& driver) {
    Add(kWorkLautsprecher, kMono, [&sum, &driver](int, void* record, TBindContext& context) {
      auto& speaker = *new (record) SLautsprecherRecord{};
      speaker.left = &RecordOf<SAddiererRecord>(context, sum, 0).Output;
      speaker.driver = &driver;
    });
  }

  // As the envelope stands after its decay: at full level, in its sustain until a note-off.
  static void BindSustainedEnvelope(SADSRRecord& envelope, std::int32_t frequency) {
    envelope.attackTime = envelope.decayTime = envelope.releaseTime = &kNoTime;
    envelope.sustain = &kUnity;
    envelope.peakLevel = envelope.sustainLevel = envelope.output = kUnity;
    envelope.frequency = frequency;
    envelope.state = kEnvelopeSustain;
  }

  int voicesPerChain_;
  std::vector<std::unique_ptr<TPatchModule>> modules_;
  std::vector<std::unique_ptr<std::vector<const std::int32_t*>>> sources_;
};

std::filesystem::path TemporaryWavPath() {
  return std::filesystem::temp_directory_path() /
         ("zelmar-runner-bench-" + std::to_string(getpid()) + ".wav");
}

// The patch of `voices` voices bound by the real engine, its speaker writing into a temporary
// WAV file that goes with the object.
class TBoundPatch {
 public:
  explicit TBoundPatch(int voices)
      : device_(std::make_shared<TWavFileOutDevice>(output_)), driver_(device_) {
    driver_.SetFormat(false);
    if (driver_.Open(0, 0, false) != kWaveNoError) return;
    patch_ = std::make_unique<TVoicePatch>(voices, driver_);
    engine_.SetHost(patch_.get());
    engine_.SetVoiceCount(patch_->VoicesPerChain());
    started_ = runner_.Start() == TKlangEngine::kStarted;
  }

  ~TBoundPatch() {
    runner_.Stop();
    driver_.Close();
    std::error_code ignored;
    std::filesystem::remove(output_, ignored);
  }

  bool IsStarted() const { return started_; }
  TKlangEngine& Engine() { return engine_; }

  // As an offline render runs: the device plays two frames per engine sample, moved along after
  // every step of a few samples.
  void Run(std::int64_t samples) {
    for (std::int64_t done = 0; done < samples; done += kStepSamples) {
      const std::int64_t step = std::min(kStepSamples, samples - done);
      runner_.Run(step);
      device_->Play(static_cast<std::uint32_t>(kFramesPerEngineSample * step));
    }
  }

 private:
  std::filesystem::path output_ = TemporaryWavPath();
  std::shared_ptr<TWavFileOutDevice> device_;
  TWorkWaveOut driver_;
  std::unique_ptr<TVoicePatch> patch_;
  TKlangEngine engine_;
  TOfflineRunner runner_{engine_};
  bool started_ = false;
};

void CountVoiceSamples(benchmark::State& state, int voices) {
  state.counters["realtime"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kSamplesPerIteration) / kEngineSampleRate,
      benchmark::Counter::kIsRate);
  CountTimePerItem(state, "ns_per_voice", static_cast<std::size_t>(voices) * kSamplesPerIteration);
}

void OfflineRunner_SineVoices(benchmark::State& state) {
  const int voices = static_cast<int>(state.range(0));
  TBoundPatch sound(voices);
  if (!sound.IsStarted()) {
    state.SkipWithError("the sound does not start");
    return;
  }
  for (auto _ : state)
    sound.Run(kSamplesPerIteration);
  CountVoiceSamples(state, voices);
}

// The records of `type` as the engine laid them out.
template <class Record>
std::span<Record> RecordsOf(TKlangEngine& engine, TWorkType type) {
  auto& work = static_cast<TWorkRecords<Record>&>(*engine.Work(type));
  return {work.firstRecord, work.lastRecord + 1};
}

// The floor for the runner: the same records, but plain forward loops by module type in place
// of the kernels' virtual calls, no device clock, and the speaker's pairs written into a
// ring of its own instead of the driver's buffers and the device.
void OfflineRunner_SineVoicesBareLoop(benchmark::State& state) {
  const int voices = static_cast<int>(state.range(0));
  TBoundPatch sound(voices);
  if (!sound.IsStarted()) {
    state.SkipWithError("the sound does not start");
    return;
  }
  TKlangEngine& engine = sound.Engine();
  const auto sums = RecordsOf<SAddiererRecord>(engine, kWorkAddierer);
  const auto amplifiers = RecordsOf<SVerknuepfungRecord>(engine, kWorkLautstaerke);
  const auto sines = RecordsOf<SStandardGeneratorRecord>(engine, kWorkStandardGeneratoren);
  const auto envelopes = RecordsOf<SADSRRecord>(engine, kWorkADSR);
  SLautsprecherRecord& speaker = RecordsOf<SLautsprecherRecord>(engine, kWorkLautsprecher)[0];
  const std::int32_t limit = kEngineSampleRate << kPhaseFractionBits;
  std::vector<std::uint16_t> ring(TWorkWaveOut::kMonoBufferBytes / 2);
  std::size_t at = 0;
  std::int32_t notSustained = 0;
  for (auto _ : state) {
    for (std::int64_t sample = 0; sample < kSamplesPerIteration; ++sample) {
      for (SAddiererRecord& r : sums) {
        std::int32_t sum = 0;
        for (std::int32_t i = 0; i < r.Count; ++i)
          sum = WrapAdd(sum, *r.Sources[i]);
        r.Output = sum;
      }
      for (SVerknuepfungRecord& r : amplifiers)
        r.Output = WrapMul(*r.Input1, *r.Input2) >> kAmplitudeShift;
      for (SStandardGeneratorRecord& r : sines) {
        if (static_cast<std::uint32_t>(r.phase) >= static_cast<std::uint32_t>(limit))
          r.phase -= limit;
        r.output = WrapMul(r.table[r.phase >> kPhaseFractionBits], *r.amplitude) >> kAmplitudeShift;
        r.phase = WrapAdd(r.phase, *r.frequency);
      }
      for (const SADSRRecord& r : envelopes)
        notSustained += r.state != kEnvelopeSustain;
      const std::int32_t x = *speaker.left;
      ring[at] = static_cast<std::uint16_t>(
          WrapAdd(speaker.previousLeft, WrapSub(x, speaker.previousLeft) >> 1));
      ring[at + 1] = static_cast<std::uint16_t>(x);
      at = at + 2 < ring.size() ? at + 2 : 0;
      speaker.previousLeft = x;
    }
    benchmark::ClobberMemory();
  }
  benchmark::DoNotOptimize(notSustained);
  CountVoiceSamples(state, voices);
}

constexpr int kVoiceCounts[] = {4, 16, 39, 100, 400, 1000};

void VoiceCounts(benchmark::internal::Benchmark* benchmark) {
  for (int voices : kVoiceCounts)
    benchmark->Arg(voices);
}

}  // namespace

BENCHMARK(OfflineRunner_SineVoices)->Apply(VoiceCounts);
BENCHMARK(OfflineRunner_SineVoicesBareLoop)->Apply(VoiceCounts);
BENCHMARK_MAIN();
