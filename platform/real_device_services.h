// The sound card and the MIDI ports as the device services through which speakers, microphones
// and MIDI inputs open their devices (the graphical program and real-time play install them;
// the headless renderer and most tests install the file devices instead).
#pragma once

#include <vector>

#include "platform/device_api.h"
#include "platform/rtaudio_wave_in_device.h"
#include "platform/rtaudio_wave_out_device.h"
#include "platform/rtmidi_in_devices.h"

class TRealDeviceServices {
 public:
  explicit TRealDeviceServices(const std::vector<EDeviceApi>& apis = StandardDeviceApis());

  // Makes these the installed services. They must outlive every module that opened a device.
  void Install();

  TRtAudioWaveOutDevice waveOut;
  TRtAudioWaveInDevice waveIn;
  TRtMidiInDevices midiIn;
};

// GUI thread, at start: installs one set over the standard systems that lives until the
// program ends.
TRealDeviceServices& InstallRealDeviceServices();
