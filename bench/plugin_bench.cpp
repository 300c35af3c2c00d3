// The LV2 instrument's run() against the program's offline render of the same sound and MIDI:
// the bundled 39-voice synth playing the bundled melody for 10 s. The plugin is loaded through
// lilv as a host loads it (tests/plugin/lv2_test_host.h) and runs at three host rates and two
// block sizes; the render is the one `zelmar --render` does, writing its WAV file. Each reports
// how many times faster than real time it computed, by the processor time of the whole process,
// which other work on a shared machine does not inflate.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "cli/headless_renderer.h"
#include "engine/midi_file.h"
#include "engine/work_object.h"
#include "tests/plugin/lv2_test_host.h"

namespace {

constexpr double kSeconds = 10;
const std::filesystem::path kSound = ZELMAR_EXAMPLES "/poly_synth.zmr";
const std::filesystem::path kMelody = ZELMAR_EXAMPLES "/melody.mid";

void PluginRun(benchmark::State& state) {
  const auto rate = static_cast<double>(state.range(0));
  const auto block = static_cast<std::size_t>(state.range(1));
  SMidiFile melody;
  std::string error;
  if (!ReadMidiFile(kMelody, melody, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  const auto frames = static_cast<std::size_t>(kSeconds * rate);
  for (auto _ : state) {
    state.PauseTiming();
    TTestInstrument instrument(rate);
    instrument.ChooseFile(kSound.string());
    instrument.Run(block, block);
    for (const SMidiInEvent& event : melody.events) {
      instrument.Midi(static_cast<std::size_t>(static_cast<double>(event.sampleIndex) * rate /
                                               kEngineSampleRate),
                      event.status, event.data1, event.data2);
    }
    state.ResumeTiming();
    benchmark::DoNotOptimize(instrument.Run(frames, block));
  }
  state.counters["x_real_time"] = benchmark::Counter(
      kSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(PluginRun)
    ->ArgsProduct({{44100, 48000, 96000}, {64, 1024}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

void RenderCommand(benchmark::State& state) {
  const std::filesystem::path out =
      std::filesystem::temp_directory_path() / "zelmar-plugin-bench.wav";
  SRenderRequest request{kSound, out, kMelody, {}, kSeconds, {}, 1U};
  for (auto _ : state) {
    SRenderSummary summary;
    std::string error;
    if (!RenderSound(request, summary, error)) state.SkipWithError(error.c_str());
  }
  std::filesystem::remove(out);
  state.counters["x_real_time"] = benchmark::Counter(
      kSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(RenderCommand)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
