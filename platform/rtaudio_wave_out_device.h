// The sound card output of the speakers: the numbered audio output devices of ListAudioDevices,
// opened as RtAudio streams of 16 bit, mono or stereo. The device's callback plays the queued
// 44100 Hz buffers back to back straight from their memory, reports each finished buffer, and
// counts the frames it played; while no buffer waits it plays silence and the count stands
// still. A device at 48000 Hz (most JACK and PipeWire servers) gets the same frames converted
// to its rate, and the count stays in 44100 Hz frames; a device at any other rate is refused,
// never played at the wrong pitch.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/wave_out_device.h"
#include "platform/device_api.h"
#include "platform/device_error_memo.h"

class TRtAudioWaveOutDevice : public TWaveOutDevice {
 public:
  explicit TRtAudioWaveOutDevice(std::vector<EDeviceApi> apis = StandardDeviceApis());

  // GUI thread. 0; 2 for a device number not listed; 32 for a format other than 44100 Hz 16-bit
  // mono or stereo, or a device that runs at neither 44100 nor 48000 Hz or lacks the channels;
  // 7 when there is no memory for the conversion; 1 when the sound system refuses. ErrorText
  // then names the device and the reason.
  int Open(int device, const SWaveFormat& format, TWaveOutDoneReport& report,
           std::unique_ptr<TWaveOutStream>& stream) override;
  bool CanOpen(int device, const SWaveFormat& format) override;
  std::string ErrorText(int code) const override;

  // GUI thread: lists the devices anew.
  std::vector<std::string> DeviceNames() const override;

 private:
  std::vector<EDeviceApi> apis_;
  TDeviceErrorMemo errors_;
};
