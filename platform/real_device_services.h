// The sound card and the MIDI ports as the device services through which speakers, microphones
// and MIDI inputs open their devices (the graphical program and real-time play hand them to the
// model in its application context; the headless renderer and most tests use the file devices).
#pragma once

#include <vector>

#include "platform/device_api.h"
#include "platform/rtaudio_wave_in_device.h"
#include "platform/rtaudio_wave_out_device.h"
#include "platform/rtmidi_in_devices.h"

class TRealDeviceServices {
 public:
  explicit TRealDeviceServices(const std::vector<EDeviceApi>& apis = StandardDeviceApis());

  // They must outlive every module that opened one of their devices.

  TRtAudioWaveOutDevice waveOut;
  TRtAudioWaveInDevice waveIn;
  TRtMidiInDevices midiIn;
};
