#include "cli/play_command.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/command_options.h"
#include "cli/live_player.h"
#include "cli/stop_signals.h"
#include "platform/options.h"
#include "platform/process_priority.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr int kExitPlayed = 0;
constexpr int kExitCannotPlay = 1;
constexpr int kExitUsage = 2;
constexpr int kExitOverloaded = 3;
constexpr auto kUsageInterval = std::chrono::seconds(1);
// How often the loop collects what the engine published, as the main window's timer does.
constexpr auto kPollInterval = std::chrono::milliseconds(50);

struct SPlayRequest {
  std::filesystem::path sound;
  std::optional<double> seconds;  // none: until stopped
};

bool Usage(const std::string& problem) {
  std::fprintf(stderr, "zelmar: %s\n%s", problem.c_str(), PlayUsage());
  return false;
}

bool ParseRequest(int argc, char** argv, SPlayRequest& request) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) return Usage(option + " needs a value");
    const char* value = argv[++i];
    if (option == "--play") {
      request.sound = value;
    } else if (option == "--seconds") {
      double seconds = 0;
      if (!ParseSeconds(value, seconds)) return Usage(kSecondsRule);
      request.seconds = seconds;
    } else {
      return Usage("unknown option " + option);
    }
  }
  return !request.sound.empty() || Usage("--play SOUND is needed");
}

int CannotPlay(const std::string& problem) {
  std::fprintf(stderr, "zelmar: %s\n", problem.c_str());
  return kExitCannotPlay;
}

void PrintDevices(const std::vector<SDeviceReport>& devices) {
  for (const SDeviceReport& device : devices) {
    const std::string what =
        std::string(DeviceKindName(device.kind)) + " \"" + device.module + "\"";
    if (device.open) {
      std::printf(
          "%s: device %d, %s%s\n", what.c_str(), device.device, device.deviceName.c_str(),
          device.silent ? " (silent: a module on its way has a free input or no device)" : "");
    } else if (!device.error.empty()) {
      std::fprintf(stderr, "zelmar: %s: %s\n", what.c_str(), device.error.c_str());
    } else {
      std::fprintf(stderr, "zelmar: %s: no device chosen\n", what.c_str());
    }
  }
}

std::string PlayingLine(const SPlayRequest& request, int voices) {
  char until[64];
  if (request.seconds) {
    std::snprintf(until, sizeof until, "for %g s", *request.seconds);
  } else {
    std::snprintf(until, sizeof until, "until interrupted");
  }
  return "playing " + request.sound.string() + " with " + std::to_string(voices) +
         (voices == 1 ? " voice " : " voices ") + until;
}

// Plays until a stop signal or the end of `seconds`, saying the processor usage once a second.
// False when the engine stopped itself first.
bool PlayUntilStopped(TLivePlayer& player, TStopSignals& stopSignals,
                      std::optional<double> seconds) {
  const TClock::time_point start = TClock::now();
  const TClock::time_point end = seconds ? start + std::chrono::duration_cast<TClock::duration>(
                                                       std::chrono::duration<double>(*seconds))
                                         : TClock::time_point::max();
  TClock::time_point nextReport = start + kUsageInterval;
  for (;;) {
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(std::min(nextReport, end) - TClock::now());
    const TStopSignals::EWake wake =
        stopSignals.Wait(std::clamp(wait, std::chrono::milliseconds(0), kPollInterval));
    player.Poll();
    if (player.Overloaded()) return false;
    const TClock::time_point now = TClock::now();
    if (wake == TStopSignals::EWake::Stop || now >= end) return true;
    if (now >= nextReport) {
      std::printf("processor usage %d%%\n", player.ProcessorUsage());
      nextReport += kUsageInterval;
    }
  }
}

}  // namespace

const char* PlayUsage() {
  return "usage: zelmar --play SOUND.zmr [--seconds S]\n"
         "  plays on the devices of the sound options until Ctrl+C or SIGTERM, or for S seconds\n";
}

int RunPlayCommand(int argc, char** argv) {
  SPlayRequest request;
  if (!ParseRequest(argc, argv, request)) return kExitUsage;
  // Whoever reads the output, a log or a pipe, sees each line when it happens and in order.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  // Before the first thread: every thread inherits the blocked stop signals.
  TStopSignals stopSignals;
  SetProcessPriority(TPriorityClass::High);
  TLivePlayer player;
  std::string error;
  if (!player.Load(request.sound, error)) return CannotPlay(error);
  PrintDevices(player.Devices());
  if (!player.HasSpeaker())
    return CannotPlay(request.sound.string() + ": the sound has no speaker");
  if (!player.AnySpeakerOpen()) return CannotPlay("no speaker could be opened");
  if (!player.Start(error)) return CannotPlay(error);
  std::printf("mode %s\n", player.PlayMode().c_str());
  std::printf("%s\n", PlayingLine(request, player.CountVoices()).c_str());
  const bool keptUp = PlayUntilStopped(player, stopSignals, request.seconds);
  if (!player.Stop(error)) return CannotPlay(error);
  if (!keptUp) {
    std::fprintf(stderr, "zelmar: Processor usage to high ! (%d%%, the limit is %d%%)\n",
                 player.OverloadUsage(), SoundOptions().stopProzesserOver);
    return kExitOverloaded;
  }
  std::printf("stopped\n");
  return kExitPlayed;
}
