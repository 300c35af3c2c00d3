#include "platform/rtaudio_stream.h"

#include <algorithm>
#include <optional>

#include "engine/wave_format.h"
#include "platform/device_library_messages.h"

namespace {

// The JACK client name of every stream; JACK numbers further clients of the same name.
constexpr char kStreamName[] = "Zelmar";
// Frames per callback asked for; JACK always uses its own period instead.
constexpr unsigned kStreamFrames = 512;

RtAudio::Api ToRtAudioApi(EDeviceApi api) {
  switch (api) {
    case EDeviceApi::Jack:
      return RtAudio::UNIX_JACK;
    case EDeviceApi::Pulse:
      return RtAudio::LINUX_PULSE;
    case EDeviceApi::Alsa:
      return RtAudio::LINUX_ALSA;
  }
  return RtAudio::UNSPECIFIED;
}

// A fault on the device's thread comes here instead of being thrown there, which would end the
// program; RtAudio stops such a stream, and the driver sees a position that no longer moves.
void IgnoreStreamFault(RtAudioError::Type, const std::string&) {}

int ResultOf(RtAudioError::Type type) {
  switch (type) {
    case RtAudioError::NO_DEVICES_FOUND:
    case RtAudioError::INVALID_DEVICE:
    case RtAudioError::INVALID_USE:
      return kWaveBadDeviceId;
    case RtAudioError::MEMORY_ERROR:
      return kWaveNoMemory;
    case RtAudioError::INVALID_PARAMETER:
      return kWaveBadFormat;
    default:
      return kWaveError;
  }
}

// "48000", "22050 or 44100".
std::string RatesText(const std::vector<unsigned>& rates) {
  std::string text;
  for (std::size_t i = 0; i < rates.size(); ++i) {
    if (i > 0) text += i + 1 == rates.size() ? " or " : ", ";
    text += std::to_string(rates[i]);
  }
  return text.empty() ? "no known rate" : text;
}

std::string Quoted(const SAudioDeviceEntry& device) { return "The device \"" + device.name + "\""; }

std::string WrongRateText(const SAudioDeviceEntry& device, const std::vector<unsigned>& runsAt,
                          const std::vector<unsigned>& needed) {
  return Quoted(device) + " runs at " + RatesText(runsAt) + " Hz, but the program needs it at " +
         RatesText(needed) + " Hz. Set the device (for JACK: the server) to that rate.";
}

std::string DirectionText(EAudioDirection direction) {
  return direction == EAudioDirection::Output ? "output" : "input";
}

// The first of the rates wanted that the device runs at; 0 when none. A device that could not
// be probed is tried at the preferred rate.
unsigned ChooseRate(const SAudioDeviceEntry& device, const std::vector<unsigned>& wanted) {
  if (!device.probed) return wanted.front();
  for (const unsigned rate : wanted)
    if (std::ranges::find(device.sampleRates, rate) != device.sampleRates.end()) return rate;
  return 0;
}

// Refuses a device that cannot serve the request before the system is asked; 0 when it may.
int CheckDevice(const SAudioDeviceEntry& device, const SAudioStreamRequest& request, unsigned& rate,
                std::string& error) {
  rate = ChooseRate(device, request.rates);
  if (rate == 0) {
    error = WrongRateText(device, device.sampleRates, request.rates);
    return kWaveBadFormat;
  }
  if (device.probed && device.channels < request.channels) {
    error = Quoted(device) + " has " + std::to_string(device.channels) + " " +
            DirectionText(request.direction) + " channel(s), but " +
            std::to_string(request.channels) + " are needed.";
    return kWaveBadFormat;
  }
  return kWaveNoError;
}

// The input recorded beside an output in one stream: a JACK device, as the output is, since only
// there one client of the one server serves both directions with a single clock. Null when
// there is none such.
std::optional<RtAudio::StreamParameters> DuplexInput(const std::vector<EDeviceApi>& apis,
                                                     const SAudioDeviceEntry& output,
                                                     const std::string& name, std::string& error) {
  const std::vector<SAudioDeviceEntry> inputs = ListAudioDevices(EAudioDirection::Input, apis);
  const auto found = std::ranges::find(inputs, name, &SAudioDeviceEntry::name);
  if (found == inputs.end() || found->api != EDeviceApi::Jack || output.api != EDeviceApi::Jack) {
    error = "The input device \"" + name + "\" cannot be recorded by " + output.name + ".";
    return std::nullopt;
  }
  RtAudio::StreamParameters parameters;
  parameters.deviceId = found->apiIndex;
  parameters.nChannels = 1;
  return parameters;
}

}  // namespace

std::unique_ptr<RtAudio> NewRtAudio(EDeviceApi api) {
  QuietDeviceLibraries();
  std::vector<RtAudio::Api> compiled;
  RtAudio::getCompiledApi(compiled);
  if (std::ranges::find(compiled, ToRtAudioApi(api)) == compiled.end()) return nullptr;
  try {
    auto audio = std::make_unique<RtAudio>(ToRtAudioApi(api));
    audio->showWarnings(false);
    return audio;
  } catch (const RtAudioError&) {
    return nullptr;
  }
}

int OpenAudioStream(const std::vector<EDeviceApi>& apis, int device,
                    const SAudioStreamRequest& request, SOpenedAudioStream& opened,
                    std::string& error) {
  const std::vector<SAudioDeviceEntry> devices = ListAudioDevices(request.direction, apis);
  if (device < 0 || static_cast<std::size_t>(device) >= devices.size()) {
    error = "There is no audio " + DirectionText(request.direction) + " device number " +
            std::to_string(device) + " (" + std::to_string(devices.size()) +
            " listed). Is the sound server running?";
    return kWaveBadDeviceId;
  }
  const SAudioDeviceEntry& entry = devices[static_cast<std::size_t>(device)];
  unsigned rate = 0;
  if (const int refused = CheckDevice(entry, request, rate, error); refused != kWaveNoError)
    return refused;
  std::optional<RtAudio::StreamParameters> duplex;
  if (!request.inputName.empty()) {
    duplex = DuplexInput(apis, entry, request.inputName, error);
    if (!duplex) return kWaveBadDeviceId;
  }

  std::unique_ptr<RtAudio> audio = NewRtAudio(entry.api);
  if (!audio) {
    error = Quoted(entry) + " is no longer there.";
    return kWaveBadDeviceId;
  }
  RtAudio::StreamParameters parameters;
  parameters.deviceId = entry.apiIndex;
  parameters.nChannels = request.channels;
  const bool output = request.direction == EAudioDirection::Output;
  RtAudio::StreamParameters* const recorded = output ? (duplex ? &*duplex : nullptr) : &parameters;
  unsigned frames = kStreamFrames;
  RtAudio::StreamOptions options;
  options.streamName = kStreamName;
  try {
    audio->openStream(output ? &parameters : nullptr, recorded, RTAUDIO_SINT16, rate, &frames,
                      request.callback, request.userData, &options, &IgnoreStreamFault);
  } catch (const RtAudioError& fault) {
    error = Quoted(entry) + " cannot be opened: " + fault.what();
    return ResultOf(fault.getType());
  }
  // Some systems settle on a neighbouring rate; a stream that does not run at the rate asked
  // for would play at the wrong pitch.
  if (const unsigned actual = audio->getStreamSampleRate(); actual != rate) {
    std::string ignored;
    CloseAudioStream(*audio, ignored);
    error = WrongRateText(entry, {actual}, request.rates);
    return kWaveBadFormat;
  }
  opened.audio = std::move(audio);
  opened.rate = rate;
  opened.name = entry.name;
  return kWaveNoError;
}

int StartAudioStream(RtAudio& audio, std::string& error) {
  try {
    if (!audio.isStreamOpen()) {
      error = "The sound system has closed the stream.";
      return kWaveError;
    }
    if (!audio.isStreamRunning()) audio.startStream();
    return kWaveNoError;
  } catch (const RtAudioError& fault) {
    error = fault.what();
    return kWaveError;
  }
}

// RtAudio must never be asked to stop or close a stream that is not open or running: it then
// reports through the fault callback of a stream that no longer exists.
int StopAudioStream(RtAudio& audio, std::string& error) {
  try {
    if (audio.isStreamRunning()) audio.abortStream();
    return kWaveNoError;
  } catch (const RtAudioError& fault) {
    error = fault.what();
    return kWaveError;
  }
}

int CloseAudioStream(RtAudio& audio, std::string& error) {
  const int stopped = StopAudioStream(audio, error);
  try {
    if (audio.isStreamOpen()) audio.closeStream();
    return stopped;
  } catch (const RtAudioError& fault) {
    error = fault.what();
    return kWaveError;
  }
}
