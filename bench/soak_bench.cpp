// Long play on a JACK dummy server of its own (44100 Hz, periods of 256 frames), as a musician
// would leave the program playing:
// 1. `zelmar --play` plays the bundled 39-voice synth (examples/poly_synth.zmr) for MINUTES while
//    a keyboard client plays a note every 100 ms, each held for 3.9 s, so that all 39 voices
//    sound;
// 2. in this process, through the player `--play` uses, the same sound is started and stopped
//    200 times with a note held.
// Every 10 s it samples the resident memory and the processor use of the process that plays. It
// reports the memory's growth after the first minute, the late periods the server blames on the
// program (its clients still computing while a client that does nothing had finished; the device
// tests' verdict), and every line the program wrote besides its processor usage.
//   soak_bench [MINUTES] [CYCLES]   (60 minutes and 200 cycles by default)
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/live_player.h"
#include "platform/options.h"
#include "platform/rtaudio_wave_out_device.h"
#include "platform/rtmidi_in_devices.h"
#include "tests/devices/jack_dummy_server.h"
#include "tests/devices/jack_test_clients.h"
#include "tests/devices/program_process.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

constexpr int kRate = 44100;
constexpr int kPeriod = 256;
constexpr auto kNoteEvery = 100ms;
constexpr auto kSampleEvery = 10s;
constexpr int kVoices = 39;
// Notes walk through more keys than there are voices, so that no key is struck while it sounds.
constexpr int kLowestNote = 36;
constexpr int kKeys = 48;

// Resident memory in MiB and processor time in seconds of process `pid` (0: this one).
struct SUsage {
  double residentMiB = 0;
  double processorSeconds = 0;
};

SUsage UsageOf(pid_t pid) {
  const std::string folder = pid == 0 ? "/proc/self" : "/proc/" + std::to_string(pid);
  SUsage usage;
  std::ifstream status(folder + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) usage.residentMiB = std::atof(line.c_str() + 6) / 1024;
  }
  // Fields 14 and 15 of the stat line, after the name in parentheses: user and system time.
  std::ifstream statFile(folder + "/stat");
  std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
  const std::size_t name = stat.rfind(')');
  if (name == std::string::npos) return usage;
  std::istringstream fields(stat.substr(name + 1));
  std::string field;
  double ticks = 0;
  for (int index = 3; index <= 15 && fields >> field; ++index) {
    if (index >= 14) ticks += std::atof(field.c_str());
  }
  usage.processorSeconds = ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
  return usage;
}

// The samples of one process: one at the start, one every kSampleEvery and one at the end.
class TUsageLog {
 public:
  explicit TUsageLog(pid_t pid) : pid_(pid), start_(TClock::now()), last_(UsageOf(pid)) {
    std::printf("  %8s %13s %10s\n", "time", "resident", "processor");
    samples_.push_back({0, last_.residentMiB, 0});
  }

  // Takes a sample when one is due.
  void Poll() {
    if (TClock::now() - lastAt_ >= kSampleEvery) Sample();
  }

  // Takes the last sample and prints the growth of the resident memory from the first sample
  // after the first minute (the first sample in a shorter run) to the last.
  void Report() {
    Sample();
    const SSample& to = samples_.back();
    auto settled = std::ranges::find_if(samples_, [](const SSample& s) { return s.at >= 60; });
    if (settled == samples_.end() || &*settled == &to) settled = samples_.begin();
    const SSample& from = *settled;
    double peak = 0;
    double sum = 0;
    // The first sample, at the start, has no processor use.
    for (std::size_t i = 1; i < samples_.size(); ++i) {
      peak = std::max(peak, samples_[i].processorPercent);
      sum += samples_[i].processorPercent;
    }
    std::printf(
        "  resident memory %.1f MiB at %.0f s, %.1f MiB at %.0f s: growth %+.1f MiB; processor "
        "mean %.1f %%, highest %.1f %%\n",
        from.residentMiB, from.at, to.residentMiB, to.at, to.residentMiB - from.residentMiB,
        sum / static_cast<double>(samples_.size() - 1), peak);
  }

 private:
  struct SSample {
    double at;
    double residentMiB;
    double processorPercent;
  };

  void Sample() {
    const auto now = TClock::now();
    const SUsage usage = UsageOf(pid_);
    const double seconds = std::chrono::duration<double>(now - lastAt_).count();
    const double percent = (usage.processorSeconds - last_.processorSeconds) / seconds * 100;
    const double at = std::chrono::duration<double>(now - start_).count();
    samples_.push_back({at, usage.residentMiB, percent});
    std::printf("  %6.0f s %9.1f MiB %8.1f %%\n", at, usage.residentMiB, percent);
    std::fflush(stdout);
    last_ = usage;
    lastAt_ = now;
  }

  pid_t pid_;
  TClock::time_point start_;
  TClock::time_point lastAt_ = TClock::now();
  SUsage last_;
  std::vector<SSample> samples_;
};

// The program's JACK clients and what each serves, as the server lists their ports.
std::string ProgramClients() {
  std::map<std::string, std::string> roles;
  FILE* ports = popen("jack_lsp 2>/dev/null", "r");
  if (ports == nullptr) return {};
  char line[512];
  while (std::fgets(line, sizeof line, ports) != nullptr) {
    const std::string port(line);
    const std::size_t colon = port.find(':');
    if (!port.starts_with("Zelmar") || colon == std::string::npos) continue;
    const bool midi = port.find("MIDI", colon) != std::string::npos;
    roles[port.substr(0, colon)] = midi ? "MIDI input" : "speaker";
  }
  pclose(ports);
  std::string clients;
  for (const auto& [client, role] : roles)
    clients += (clients.empty() ? "" : ", ") + client + " " + role;
  return clients;
}

// The load average of the last minute: how busy the machine was.
std::string LoadAverage() {
  std::ifstream load("/proc/loadavg");
  std::string minute;
  load >> minute;
  return minute;
}

// How many periods were late, how many of them the program's, and which of its clients the
// server found still computing in those.
void ReportLatePeriods(const TJackServerLog& log, const std::string& reference) {
  const std::vector<TLatePeriod> late = log.LatePeriods();
  const std::vector<TLatePeriod> programs = ProgramsLatePeriods(late, reference);
  std::map<std::string, int> running;
  for (const TLatePeriod& clients : programs) {
    for (const auto& client : clients) {
      if (client.name.starts_with("Zelmar") && client.state == "Running") ++running[client.name];
    }
  }
  std::string named;
  for (const auto& [client, count] : running)
    named += (named.empty() ? " (" : ", ") + client + " in " + std::to_string(count);
  std::printf("  late periods: %zu in all, %zu the program's%s\n", late.size(), programs.size(),
              named.empty() ? "" : (named + ")").c_str());
}

// Every line of `output` except the processor usage, each once with its count.
void ReportSaid(const std::string& output) {
  std::map<std::string, int> lines;
  std::istringstream text(output);
  for (std::string line; std::getline(text, line);) {
    if (!line.starts_with("processor usage")) ++lines[line];
  }
  std::printf("  the program said:\n");
  for (const auto& [line, count] : lines)
    std::printf("    %s%s\n", line.c_str(),
                count > 1 ? (" (" + std::to_string(count) + "x)").c_str() : "");
}

int Number(const std::vector<std::string>& names, const std::string& name) {
  const auto found = std::ranges::find(names, name);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

void SendNote(TJackKeyboard& keyboard, int index, bool on) {
  const auto note = static_cast<std::uint8_t>(kLowestNote + index % kKeys);
  keyboard.Send({static_cast<std::uint8_t>(on ? 0x90 : 0x80), note,
                 on ? std::uint8_t{100} : std::uint8_t{0}});
}

void Play(const fs::path& folder, TJackKeyboard& keyboard, const TJackXrunCounter& reference,
          const fs::path& serverLog, int minutes) {
  const fs::path sound = fs::path(ZELMAR_EXAMPLES) / "poly_synth.zmr";
  const std::string seconds = std::to_string(minutes * 60 + 60);
  TProgramProcess program({"--play", sound.string(), "--seconds", seconds}, folder / "play.txt");
  if (!program.WaitForOutput("playing", 30s)) {
    std::printf("the program did not play:\n%s\n", program.Output().c_str());
    return;
  }
  std::printf(
      "1. %d minutes of `zelmar --play %s`, a note every 100 ms, on a server of %d Hz "
      "and %d frames\n",
      minutes, sound.filename().c_str(), kRate, kPeriod);
  std::printf("  the program's clients: %s; load average %s\n", ProgramClients().c_str(),
              LoadAverage().c_str());
  const TJackServerLog log(serverLog);
  TUsageLog usage(program.Pid());
  const auto end = TClock::now() + std::chrono::minutes(minutes);
  auto next = TClock::now();
  for (int index = 0; next < end; ++index, next += kNoteEvery) {
    std::this_thread::sleep_until(next);
    if (index >= kVoices) SendNote(keyboard, index - kVoices, false);
    SendNote(keyboard, index, true);
    usage.Poll();
  }
  usage.Report();
  std::printf("  load average %s\n", LoadAverage().c_str());
  const int status = program.Stop(SIGINT);
  ReportLatePeriods(log, reference.name());
  std::printf("  exit status %d\n", status);
  ReportSaid(program.Output());
}

void StartAndStop(TJackKeyboard& keyboard, const TJackXrunCounter& reference,
                  const fs::path& serverLog, int cycles) {
  TLivePlayer player;
  std::string error;
  if (!player.Load(fs::path(ZELMAR_EXAMPLES) / "poly_synth.zmr", error)) {
    std::printf("the sound did not load: %s\n", error.c_str());
    return;
  }
  std::printf("2. %d starts and stops of the same sound in this process, a note held\n", cycles);
  const TJackServerLog log(serverLog);
  TUsageLog usage(0);
  keyboard.Send({0x90, 60, 100});
  std::map<std::string, int> failures;
  for (int cycle = 0; cycle < cycles; ++cycle) {
    if (!player.Start(error)) ++failures["start: " + error];
    if (cycle == 0) {
      std::printf("  the clients: %s; load average %s\n", ProgramClients().c_str(),
                  LoadAverage().c_str());
    }
    std::this_thread::sleep_for(150ms);
    if (!player.Stop(error)) ++failures["stop: " + error];
    std::this_thread::sleep_for(50ms);
    usage.Poll();
  }
  keyboard.Send({0x80, 60, 0});
  usage.Report();
  std::printf("  load average %s\n", LoadAverage().c_str());
  ReportLatePeriods(log, reference.name());
  std::printf("  failed starts and stops: %s\n", failures.empty() ? "none" : "");
  for (const auto& [failure, count] : failures)
    std::printf("    %s (%dx)\n", failure.c_str(), count);
}

}  // namespace

int main(int argc, char** argv) {
  const int minutes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  const int cycles = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
  const fs::path folder = fs::temp_directory_path() / ("zelmar-soak-" + std::to_string(getpid()));
  fs::create_directories(folder / "config");
  // The program and the benchmark share a settings store of their own.
  setenv("HOME", folder.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
  const std::string server = "zelmar-soak-" + std::to_string(getpid());
  setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
  {
    const TJackDummyServer jack(folder / "jack", server, kRate, kPeriod);
    if (!jack.Ready()) {
      std::printf("the JACK server did not start\n");
      return 1;
    }
    TJackKeyboard keyboard(OwnClientName("keyboard"));
    const TJackXrunCounter reference(OwnClientName("reference"));
    SSoundOptions options;
    options.speakerDefaultDevice = Number(TRtAudioWaveOutDevice().DeviceNames(), "JACK: system");
    options.midiDefaultDevice =
        Number(TRtMidiInDevices().DeviceNames(), "JACK: " + keyboard.name() + ":out");
    StoreOptions(options);
    Play(folder, keyboard, reference, jack.Log(), minutes);
    StartAndStop(keyboard, reference, jack.Log(), cycles);
  }
  fs::remove_all(folder);
  return 0;
}
