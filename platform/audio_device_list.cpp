#include "platform/audio_device_list.h"

#include "platform/rtaudio_stream.h"

namespace {

// Fills what the device tells of itself; false when it has no channels in `direction`. A device
// that cannot be probed is kept, so that the user still sees and may choose it.
bool Describe(RtAudio& audio, EAudioDirection direction, SAudioDeviceEntry& entry) {
  RtAudio::DeviceInfo info;
  try {
    info = audio.getDeviceInfo(entry.apiIndex);
  } catch (const RtAudioError&) {
    entry.name = kFaultDeviceName;
    return true;
  }
  entry.name = ListedDeviceName(entry.api, info.name);
  entry.probed = info.probed;
  if (!info.probed) return true;
  entry.channels = direction == EAudioDirection::Output ? info.outputChannels : info.inputChannels;
  entry.sampleRates = info.sampleRates;
  return entry.channels > 0;
}

}  // namespace

std::vector<SAudioDeviceEntry> ListAudioDevices(EAudioDirection direction,
                                                const std::vector<EDeviceApi>& apis) {
  std::vector<SAudioDeviceEntry> devices;
  for (const EDeviceApi api : apis) {
    const std::unique_ptr<RtAudio> audio = NewRtAudio(api);
    if (!audio) continue;
    unsigned count = 0;
    try {
      count = audio->getDeviceCount();
    } catch (const RtAudioError&) {
      continue;  // the system does not answer
    }
    for (unsigned index = 0; index < count; ++index) {
      SAudioDeviceEntry entry;
      entry.api = api;
      entry.apiIndex = index;
      if (Describe(*audio, direction, entry)) devices.push_back(std::move(entry));
    }
  }
  return devices;
}

std::vector<std::string> DeviceNames(const std::vector<SAudioDeviceEntry>& devices) {
  std::vector<std::string> names;
  names.reserve(devices.size());
  for (const SAudioDeviceEntry& device : devices)
    names.push_back(device.name);
  return names;
}
