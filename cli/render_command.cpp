#include "cli/render_command.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "cli/command_options.h"
#include "cli/headless_renderer.h"
#include "cli/stop_signals.h"

namespace {

constexpr int kMaxVoices = 39;
constexpr int kExitRendered = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
// A render that ends sooner shows no progress; a longer one shows a line this often.
constexpr auto kProgressInterval = std::chrono::seconds(1);

bool Usage(const std::string& problem) {
  std::fprintf(stderr, "zelmar: %s\n%s", problem.c_str(), RenderUsage());
  return false;
}

bool ParseRequest(int argc, char** argv, SRenderRequest& request) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) return Usage(option + " needs a value");
    const char* value = argv[++i];
    if (option == "--render") {
      request.sound = value;
    } else if (option == "--out") {
      request.output = value;
    } else if (option == "--midi") {
      request.midi = value;
    } else if (option == "--input") {
      request.input = value;
    } else if (option == "--seconds") {
      double seconds = 0;
      if (!ParseSeconds(value, seconds)) return Usage(kSecondsRule);
      request.seconds = seconds;
    } else if (option == "--voices") {
      int voices = 0;
      if (!ParseNumber(value, voices) || voices < 1 || voices > kMaxVoices) {
        return Usage("--voices takes a number from 1 to 39");
      }
      request.voices = voices;
    } else if (option == "--seed") {
      unsigned seed = 0;
      if (!ParseNumber(value, seed)) return Usage("--seed takes a whole number from 0 up");
      request.seed = seed;
    } else {
      return Usage("unknown option " + option);
    }
  }
  if (request.sound.empty() || request.output.empty()) {
    return Usage("--render SOUND and --out OUT.wav are both needed");
  }
  return true;
}

std::string Decibels(double level) {
  if (level <= 0) return "-inf dBFS";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f dBFS", 20 * std::log10(level / 32767.0));
  return text;
}

// Says how far the render is once a second, and stops it at a stop signal.
class TRenderProgressLine {
 public:
  explicit TRenderProgressLine(TStopSignals& stopSignals)
      : stopSignals_(stopSignals), next_(std::chrono::steady_clock::now() + kProgressInterval) {}

  bool operator()(double rendered, double total) {
    if (stopSignals_.Wait(std::chrono::milliseconds(0)) == TStopSignals::EWake::Stop) return false;
    const auto now = std::chrono::steady_clock::now();
    if (now < next_) return true;
    next_ = now + kProgressInterval;
    std::fprintf(stderr, "rendering: %d%% (%.1f of %.1f s)\n",
                 static_cast<int>(std::min(100.0, 100 * rendered / total)), rendered, total);
    return true;
  }

 private:
  TStopSignals& stopSignals_;
  std::chrono::steady_clock::time_point next_;
};

}  // namespace

const char* RenderUsage() {
  return "usage: zelmar --render SOUND.zmr --out OUT.wav [--midi FILE.mid] [--seconds S]\n"
         "                [--voices N] [--seed N] [--input FILE.wav]\n"
         "  --midi     play a Standard MIDI File into the sound's MIDI inputs\n"
         "  --seconds  length (default: the MIDI file and its releases, or 5 s)\n"
         "  --voices   voice count 1..39 instead of the sound's own\n"
         "  --seed     seed of the random generator, for renders that repeat exactly\n"
         "  --input    the microphones' recording (default: silence)\n"
         "Several speakers write one file each, named after OUT and the speaker.\n"
         "OUT may be a pipe or a device, which gets the WAV file as a stream.\n";
}

int RunRenderCommand(int argc, char** argv) {
  SRenderRequest request;
  if (!ParseRequest(argc, argv, request)) return kExitUsage;
  // Before the first thread: a stop signal ends the render through its cleanup, not around it.
  TStopSignals stopSignals;
  SRenderSummary summary;
  std::string error;
  if (!RenderSound(request, summary, error, TRenderProgressLine(stopSignals))) {
    std::fprintf(stderr, "zelmar: %s\n", error.c_str());
    return stopSignals.Taken() != 0 ? 128 + stopSignals.Taken() : kExitFailed;
  }
  std::string files;
  for (const auto& file : summary.files)
    files += (files.empty() ? "" : ", ") + file.string();
  std::printf("rendered %s: %.2f s, peak %s, RMS %s, %.0fx real time\n", files.c_str(),
              summary.seconds, Decibels(summary.peak).c_str(), Decibels(summary.rms).c_str(),
              summary.realTimeFactor);
  return kExitRendered;
}
