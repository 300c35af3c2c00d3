// The devices of a headless render: each speaker plays into a WAV file of its own (device
// number i is file i), each MIDI input module hears the same Standard MIDI File (every device
// number is a device of its own with the file's messages), and the microphones record a WAV file
// or silence. None has a clock: the renderer moves all of them along with the engine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "engine/device_services.h"
#include "engine/midi_in_file_device.h"
#include "engine/wav_file_in_device.h"
#include "engine/wav_file_out_device.h"

class TRenderWaveOut : public TWaveOutDevice {
 public:
  // File `i` of `targets` is output device `i`.
  explicit TRenderWaveOut(const std::vector<std::filesystem::path>& targets);

  int Open(int device, const SWaveFormat& format, TWaveOutDoneReport& report,
           std::unique_ptr<TWaveOutStream>& stream) override;
  bool CanOpen(int device, const SWaveFormat& format) override;
  std::string ErrorText(int code) const override;
  // The target files' names, in device order.
  std::vector<std::string> DeviceNames() const override;

  // Every file device plays `frames` frames.
  void Play(std::uint32_t frames);
  // Every file is left as it was when its stream closes.
  void Abandon();
  TWavFileOutDevice* File(int device) const;

 private:
  std::vector<std::unique_ptr<TWavFileOutDevice>> files_;
  // The device of the last failed open, whose error text is asked for next.
  int lastDevice_ = 0;
};

class TRenderMidiIn : public TMidiInDevices {
 public:
  explicit TRenderMidiIn(std::vector<SMidiInEvent> events) : events_(std::move(events)) {}

  TMidiInDevice* Device(int index) override;
  // Every device delivers the messages due up to `sampleIndex`.
  void DeliverUpTo(std::int64_t sampleIndex);
  // The sample of the next message any device has still to deliver.
  std::int64_t NextEventSample() const;

 private:
  std::vector<SMidiInEvent> events_;
  std::map<int, std::unique_ptr<TMidiInFileDevice>> devices_;
};

// The three services together, installed for the lifetime of the object.
class TRenderDevices {
 public:
  TRenderDevices(const std::vector<std::filesystem::path>& outputs, std::vector<SMidiInEvent> midi,
                 std::filesystem::path recording);
  ~TRenderDevices();
  TRenderDevices(const TRenderDevices&) = delete;
  TRenderDevices& operator=(const TRenderDevices&) = delete;

  TRenderWaveOut& WaveOut() { return waveOut_; }
  TRenderMidiIn& MidiIn() { return midiIn_; }

 private:
  TRenderWaveOut waveOut_;
  TWavFileInDevice waveIn_;
  TRenderMidiIn midiIn_;
  SDeviceServices previous_;
};
