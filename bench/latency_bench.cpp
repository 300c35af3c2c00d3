// MIDI-to-sound latency of `zelmar --play`, with the sound option "LowLatency" on and off, on
// JACK dummy servers that the benchmark starts itself (periods of 32, 64, 256, 1024 and 2048
// frames at 44100 Hz, and 256 frames at 48000 Hz). One JACK client of its own is the keyboard and
// the loudspeaker at once: its process callback sends each note-on at a known frame and finds, in
// the same callback, the frame at which the program's answer arrives, so the latency is counted
// in server frames with no clock between them. Prints the median and the worst latency in ms,
// and what the conversion to the 48000 Hz server adds: the difference of the medians at 256
// frames, and the conversion's own delay of a step, measured without a server (the same in both
// modes, whose sources the conversion pulls alike).
//   latency_bench [NOTES]   (20 notes per server and mode by default)
#include <jack/jack.h>
#include <jack/midiport.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "modules/catalogue.h"
#include "modules/midi.h"
#include "patch/application_context.h"
#include "patch/dokument_klang.h"
#include "patch/module_registry.h"
#include "platform/options.h"
#include "platform/resampled_output.h"
#include "platform/rtaudio_wave_out_device.h"
#include "platform/rtmidi_in_devices.h"
#include "tests/devices/jack_dummy_server.h"
#include "tests/devices/program_process.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The keyboard and the loudspeaker in one JACK client: MIDI port "out", audio port "in". Every
// frame goes through the same cycle: send a note-on at its frame, wait for sound, hold the note,
// send the note-off, wait for a stretch of silence, and on to the next note.
class TLatencyProbe {
 public:
  TLatencyProbe(const std::string& name, int notes)
      : sentAt_(static_cast<std::size_t>(notes)), heardAt_(static_cast<std::size_t>(notes)) {
    client_ = jack_client_open(name.c_str(), JackNoStartServer, nullptr);
    if (client_ == nullptr) return;
    rate_ = jack_get_sample_rate(client_);
    midi_ = jack_port_register(client_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    audio_ = jack_port_register(client_, "in", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    jack_set_process_callback(client_, &OnProcess, this);
    jack_activate(client_);
  }
  ~TLatencyProbe() {
    if (client_ != nullptr) jack_client_close(client_);
  }
  TLatencyProbe(const TLatencyProbe&) = delete;
  TLatencyProbe& operator=(const TLatencyProbe&) = delete;

  bool IsOpen() const { return client_ != nullptr; }
  std::string Name() const { return jack_get_client_name(client_); }
  void Begin() { running_.store(true, std::memory_order_release); }
  bool Done() const { return finished_.load(std::memory_order_acquire) == sentAt_.size(); }
  // The latencies heard, in ms (after Done, or once the caller gave up waiting).
  std::vector<double> Latencies() const {
    std::vector<double> latencies;
    const std::size_t finished = finished_.load(std::memory_order_acquire);
    for (std::size_t i = 0; i < finished; ++i)
      if (heardAt_[i] >= 0)
        latencies.push_back(static_cast<double>(heardAt_[i] - sentAt_[i]) * 1000.0 / rate_);
    return latencies;
  }

 private:
  enum class EStage { Quiet, Listening, Holding };

  static int OnProcess(jack_nframes_t frames, void* self) {
    static_cast<TLatencyProbe*>(self)->Process(frames);
    return 0;
  }

  void Process(jack_nframes_t frames) {
    void* midi = jack_port_get_buffer(midi_, frames);
    jack_midi_clear_buffer(midi);
    const auto* in = static_cast<const float*>(jack_port_get_buffer(audio_, frames));
    const bool running = running_.load(std::memory_order_acquire);
    for (jack_nframes_t i = 0; i < frames; ++i)
      Step(midi, i, std::abs(in[i]) * 32768.0f > 1.5f, running);
    frame_ += frames;
  }

  void Step(void* midi, jack_nframes_t offset, bool sounding, bool running) {
    const std::int64_t at = frame_ + offset;
    const std::size_t note = finished_.load(std::memory_order_relaxed);
    switch (stage_) {
      case EStage::Quiet:
        if (sounding) quietSince_ = at;
        if (!running || note == sentAt_.size() || at - quietSince_ < Frames(0.15) + Jitter(note))
          return;
        Send(midi, offset, 0x90, 100);
        sentAt_[note] = at;
        heardAt_[note] = -1;
        stage_ = EStage::Listening;
        return;
      case EStage::Listening:
        if (sounding) {
          heardAt_[note] = at;
        } else if (at - sentAt_[note] < Frames(2.0)) {
          return;  // a note not heard within two seconds counts as lost
        }
        holdUntil_ = at + Frames(0.05);
        stage_ = EStage::Holding;
        return;
      case EStage::Holding:
        if (at < holdUntil_) return;
        Send(midi, offset, 0x80, 0);
        quietSince_ = at;
        stage_ = EStage::Quiet;
        finished_.store(note + 1, std::memory_order_release);
        return;
    }
  }

  std::int64_t Frames(double seconds) const { return std::llround(seconds * rate_); }
  // Note-ons fall on frames spread over the period, not on its start.
  static std::int64_t Jitter(std::size_t note) {
    return static_cast<std::int64_t>(note * 97 % 1031);
  }

  static void Send(void* midi, jack_nframes_t offset, std::uint8_t status, std::uint8_t velocity) {
    const jack_midi_data_t bytes[3] = {status, 69, velocity};
    jack_midi_event_write(midi, offset, bytes, sizeof bytes);
  }

  jack_client_t* client_ = nullptr;
  jack_port_t* midi_ = nullptr;
  jack_port_t* audio_ = nullptr;
  double rate_ = 44100;
  std::atomic<bool> running_{false};
  std::atomic<std::size_t> finished_{0};
  // Written by the process thread before `finished_` counts the note.
  std::vector<std::int64_t> sentAt_;
  std::vector<std::int64_t> heardAt_;
  // The process thread only.
  EStage stage_ = EStage::Quiet;
  std::int64_t frame_ = 0;
  std::int64_t quietSince_ = 0;
  std::int64_t holdUntil_ = 0;
};

int Number(const std::vector<std::string>& names, const std::string& name) {
  const auto found = std::ranges::find(names, name);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// MIDI input -> key -> sine -> voice combiner -> mono speaker, four voices, at the default devices.
fs::path SaveKeyboardSound(const fs::path& folder) {
  SApplicationContext context;
  context.moduleTypes = ModuleCatalogue();
  const TApplicationScope scope(context);
  TDokumentKlang document;
  auto place = [&](const std::string& key, const std::string& type) -> TModulArbeiten& {
    bool queryOnly = false;
    auto module = std::dynamic_pointer_cast<TModulArbeiten>(CreateModuleByType(type, queryOnly));
    module->parent = document.ModuleList.get();
    document.ModuleList->Add(key, module);
    return *module;
  };
  auto wire = [](TModulArbeiten& from, TModulArbeiten& to, const char* input, const char* output) {
    to.InputList->Input(input)->Connect(from.OutputList->Output(output), false);
  };
  TModulArbeiten& midi = place("Midi", "MidiIn");
  TModulArbeiten& key = place("Key", "MidiKey");
  TModulArbeiten& sine = place("Sine", "PolySine");
  TModulArbeiten& mix = place("Mix", "PolyToMono");
  TModulArbeiten& speaker = place("Speaker", "Speaker");
  wire(midi, key, "1", "1");
  wire(key, sine, "1", "1");
  wire(key, sine, "2", "2");
  wire(sine, mix, "1", "1");
  wire(mix, speaker, "1", "1");
  document.SetVoiceCount(4);
  const fs::path path = folder / "keyboard.zmr";
  if (!document.Save(QString::fromStdString(path.string()))) std::abort();
  return path;
}

// The lines in which the program itself said what went wrong, on one line.
std::string ProgramSays(const std::string& output) {
  std::string said;
  for (auto at = output.find("zelmar: "); at != std::string::npos;
       at = output.find("zelmar: ", at + 1)) {
    const auto end = output.find('\n', at);
    said += (said.empty() ? "" : " / ") + output.substr(at + 8, end - at - 8);
  }
  return said;
}

struct SResult {
  std::optional<double> median, worst;  // none: the program did not play
  std::size_t heard = 0;
  std::string mode;  // the program's own words
};

SResult Measure(const fs::path& folder, const fs::path& sound, int rate, int period,
                bool lowLatency, int notes) {
  const std::string server = "zelmar-latency-" + std::to_string(getpid());
  setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
  SResult result;
  const TJackDummyServer jack(folder / "jack", server, rate, period);
  if (!jack.Ready()) return result;
  TLatencyProbe probe("probe", notes);
  if (!probe.IsOpen()) return result;

  SSoundOptions options;
  options.speakerDefaultDevice =
      Number(TRtAudioWaveOutDevice().DeviceNames(), "JACK: " + probe.Name());
  options.midiDefaultDevice =
      Number(TRtMidiInDevices().DeviceNames(), "JACK: " + probe.Name() + ":out");
  options.waveBuffer = SSoundOptions::kFirstStartWaveBuffer;
  options.lowLatency = lowLatency;
  StoreOptions(options);
  TProgramProcess program({"--play", sound.string(), "--seconds", "120"}, folder / "output.txt");
  if (!program.WaitForOutput("playing", 20s)) {
    result.mode = "did not play: " + ProgramSays(program.Output());
    return result;
  }
  const std::string output = program.Output();
  const auto mode = output.find("mode ");
  if (mode != std::string::npos) result.mode = output.substr(mode, output.find('\n', mode) - mode);
  std::this_thread::sleep_for(500ms);
  probe.Begin();
  for (int waited = 0; !probe.Done() && waited < 60000; waited += 10)
    std::this_thread::sleep_for(10ms);
  program.Stop();

  std::vector<double> latencies = probe.Latencies();
  result.heard = latencies.size();
  // Lost notes: what the program said about it.
  if (result.heard < static_cast<std::size_t>(notes))
    result.mode += " / " + ProgramSays(program.Output());
  if (latencies.empty()) return result;
  std::sort(latencies.begin(), latencies.end());
  result.median = latencies[latencies.size() / 2];
  result.worst = latencies.back();
  return result;
}

// What the speakers' conversion to 48000 Hz adds, without a server: a step that the source
// starts at the first frame it is asked for in one device period (as the low-latency engine
// starts a note, or the buffered queue a buffer), from the start of that period to the step's
// half-way point at the device. Without the conversion it is 0.
double ConversionDelayMs(std::uint32_t period) {
  constexpr std::uint64_t kStepPeriod = 20;
  constexpr int kStep = 10000;
  TResampledOutput output(1, 48000);
  bool stepping = false;
  const auto pull = [&stepping](std::int16_t* source, std::uint32_t count) {
    std::fill_n(source, count, stepping ? kStep : 0);
  };
  std::vector<std::int16_t> device(period);
  double previous = 0;
  for (std::uint64_t index = 0; index < kStepPeriod + 48000 / period + 2; ++index) {
    // From this period on, everything asked for is the step.
    if (index == kStepPeriod) stepping = true;
    output.Fill(device.data(), period, pull);
    for (std::uint32_t i = 0; i < period; ++i) {
      const double value = device[i];
      if (value >= kStep / 2.0) {
        // Where the line between the two samples crosses half the step.
        const double at =
            static_cast<double>(index * period + i) - (value - kStep / 2.0) / (value - previous);
        return (at - static_cast<double>(kStepPeriod * period)) * 1000 / 48000;
      }
      previous = value;
    }
  }
  return 0;
}

std::string Ms(const std::optional<double>& value) {
  char text[32];
  if (value) {
    std::snprintf(text, sizeof text, "%8.1f", *value);
  } else {
    std::snprintf(text, sizeof text, "%8s", "-");
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const int notes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  const fs::path folder =
      fs::temp_directory_path() / ("zelmar-latency-" + std::to_string(getpid()));
  fs::create_directories(folder / "config");
  // The program and the benchmark share a settings store of their own.
  setenv("HOME", folder.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
  const fs::path sound = SaveKeyboardSound(folder);

  struct SServer {
    int rate, period;
  };
  const SServer servers[] = {{44100, 32},   {44100, 64},   {44100, 256},
                             {44100, 1024}, {44100, 2048}, {48000, 256}};
  std::printf("MIDI note-on to first sound, %d notes each (ms)\n", notes);
  std::printf("%6s %6s %5s | %-11s %8s %8s %5s | %s\n", "rate", "period", "1 per", "LowLatency",
              "median", "worst", "notes", "mode");
  std::optional<double> at44100[2];  // the medians at 256 frames, buffered and low latency
  for (const SServer& server : servers) {
    for (const bool lowLatency : {true, false}) {
      const SResult r = Measure(folder, sound, server.rate, server.period, lowLatency, notes);
      std::printf("%6d %6d %5.1f | %-11s %s %s %5zu | %s\n", server.rate, server.period,
                  server.period * 1000.0 / server.rate, lowLatency ? "1" : "0",
                  Ms(r.median).c_str(), Ms(r.worst).c_str(), r.heard, r.mode.c_str());
      std::optional<double>& reference = at44100[lowLatency ? 1 : 0];
      if (server.rate == 44100 && server.period == 256) reference = r.median;
      if (server.rate != 48000 || !r.median || !reference) continue;
      // The low-latency mode answers in whole periods, which are shorter at 48000 Hz: its
      // reference is the same number of frames; the buffered mode's lead is a time.
      const double expected = lowLatency ? *reference * 44100 / 48000 : *reference;
      std::printf(
          "  the conversion to 48000 Hz adds %.1f ms to the median%s\n", *r.median - expected,
          lowLatency ? "" : " (this mode's median varies by 100 ms and more from run to run)");
    }
  }
  std::printf(
      "The conversion's own delay in either mode, without a server, periods of 32 / 256 / "
      "1024 frames: %.2f / %.2f / %.2f ms\n",
      ConversionDelayMs(32), ConversionDelayMs(256), ConversionDelayMs(1024));
  fs::remove_all(folder);
  return 0;
}
