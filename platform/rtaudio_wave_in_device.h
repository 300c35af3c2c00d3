// The sound card input of the microphones: the numbered audio input devices of
// ListAudioDevices, opened as RtAudio streams delivering 22050 Hz mono 16-bit samples. A device
// that runs at 44100 Hz (a JACK server set for the speakers) is recorded at that rate and each
// pair of samples becomes their mean; one at 48000 Hz (most JACK and PipeWire servers) is
// converted to 22050 Hz; a device at any other rate is refused.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/wave_in_device.h"
#include "platform/device_api.h"
#include "platform/device_error_memo.h"

class TRtAudioWaveInDevice : public TWaveInDevice {
 public:
  explicit TRtAudioWaveInDevice(std::vector<EDeviceApi> apis = StandardDeviceApis());

  // GUI thread. 0; 2 for a device number not listed; 32 for a format other than 22050 Hz mono
  // 16-bit, or a device that runs at none of 22050, 44100 and 48000 Hz; 7 when there is no
  // memory for the conversion; 1 when the sound system refuses. ErrorText then names the device
  // and the reason.
  int Open(int device, const SWaveFormat& format, TWaveInDataReport& report,
           std::unique_ptr<TWaveInStream>& stream) override;
  bool CanOpen(int device, const SWaveFormat& format) override;
  std::string ErrorText(int code) const override;

  // GUI thread: lists the devices anew.
  std::vector<std::string> DeviceNames() const override;

 private:
  std::vector<EDeviceApi> apis_;
  TDeviceErrorMemo errors_;
};
