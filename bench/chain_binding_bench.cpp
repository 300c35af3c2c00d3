// Memory and time to load and bind a long chain: a constant feeds the first of n adders, each
// adder feeds the next, the last one a speaker. The headless renderer reads the sound file,
// activates the chain, binds every module and renders ten samples, so the time is that of
// reading, activation and binding. Activation and binding are linear in the number of modules
// and wires; this shows it, and that 100,000 modules stay far below a gigabyte.
//
// Reported: the wall time per load and bind (activation runs on a thread of its own), the
// "peak_rss_MB" of the process after the run (sizes run from small to large, so it is the peak
// of the largest so far), and "us_per_module", that wall time per module.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli/headless_renderer.h"

namespace {

namespace fs = std::filesystem;

std::string AdderChain(int adders) {
  std::string text = "CountVoices 1\nBEGIN ModuleList \nBEGIN Zero ConstAnalog\nEND\n";
  std::string previous = "Zero";
  for (int i = 1; i <= adders; ++i) {
    const std::string key = "Add" + std::to_string(i);
    text += "BEGIN " + key + " MonoAddierer\nBEGIN InputList \nBEGIN 1 IMA\nModuleName \"" +
            previous + "\"\nOther \"1\"\nEND\nBEGIN 2 IMA\nEND\nEND\nEND\n";
    previous = key;
  }
  text += "BEGIN Speaker Speaker\nBEGIN InputList \nBEGIN 1 IMA\nModuleName \"" + previous +
          "\"\nOther \"1\"\nEND\nEND\nEND\n";
  return text + "END\nEND\n";
}

double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A folder of the run's own, which is also its home: the benchmark neither reads nor writes the
// user's settings.
fs::path PrivateFolder() {
  const fs::path folder =
      fs::temp_directory_path() / ("zelmar-chain-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  setenv("HOME", folder.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
  return folder;
}

void ChainBinding_Adders(benchmark::State& state) {
  const int adders = static_cast<int>(state.range(0));
  const fs::path folder = PrivateFolder();
  SRenderRequest request;
  request.sound = folder / "chain.zmr";
  request.output = folder / "chain.wav";
  request.seconds = 10.0 / 22050.0;
  request.seed = 1;
  std::ofstream(request.sound, std::ios::binary) << AdderChain(adders);
  std::chrono::duration<double, std::micro> took{};
  for (auto _ : state) {
    const auto begin = std::chrono::steady_clock::now();
    SRenderSummary summary;
    std::string error;
    if (!RenderSound(request, summary, error)) state.SkipWithError(error.c_str());
    took += std::chrono::steady_clock::now() - begin;
  }
  state.counters["peak_rss_MB"] = PeakResidentMegabytes();
  state.counters["us_per_module"] = took.count() / static_cast<double>(adders * state.iterations());
  fs::remove_all(folder);
}

BENCHMARK(ChainBinding_Adders)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
