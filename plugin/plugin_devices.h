// The devices a sound opens inside the plugin. The host is the sound card and the MIDI keyboard:
// every speaker device number opens (the plugin aims the speaker kernels at buffers of its own,
// so the stream itself never plays), and every MIDI input device number is a port to which the
// plugin hands the host's MIDI events from run(). Microphones find no device and stay inactive.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "engine/device_services.h"
#include "engine/midi_in_device.h"
#include "engine/wave_out_device.h"

class TPluginWaveOut : public TWaveOutDevice {
 public:
  int Open(int device, const SWaveFormat& format, TWaveOutDoneReport& report,
           std::unique_ptr<TWaveOutStream>& stream) override;
  bool CanOpen(int device, const SWaveFormat& format) override;
  std::string ErrorText(int code) const override;
};

// One MIDI input device: the callback of the MIDI input module that opened it.
class TPluginMidiPort : public TMidiInDevice {
 public:
  int Open(TMidiInCallback* callback) override;
  int Reset() override { return IfOpen(); }
  int PrepareHeader(SMidiInHeader&) override { return IfOpen(); }
  int AddBuffer(SMidiInHeader&) override { return IfOpen(); }
  int Start() override;
  int Stop() override;
  int UnprepareHeader(SMidiInHeader&) override { return IfOpen(); }
  int Close() override;

  // Audio thread: one short message (status in bits 0..7, data1 in 8..15, data2 in 16..23).
  void Deliver(std::uint32_t packedMessage) const;

 private:
  int IfOpen() const { return open_ ? kMidiOk : kMidiInvalidHandle; }

  TMidiInCallback* callback_ = nullptr;
  bool open_ = false;
  bool started_ = false;
};

class TPluginMidiIn : public TMidiInDevices {
 public:
  // Made on first use for every number from 0 on; none for a negative one.
  TMidiInDevice* Device(int index) override;
  // Audio thread: every port hears the message.
  void Deliver(std::uint32_t packedMessage) const;

 private:
  std::vector<std::pair<int, std::unique_ptr<TPluginMidiPort>>> ports_;
};

// The services of one plugin sound.
struct SPluginDevices {
  TPluginWaveOut waveOut;
  TPluginMidiIn midiIn;

  SDeviceServices Services() { return {&waveOut, nullptr, &midiIn}; }
};
