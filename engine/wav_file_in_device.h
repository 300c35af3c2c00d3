// A wave-input device that records from a WAV file, for offline rendering and tests. It delivers
// 22050 Hz mono 16-bit samples: such a file is read as it is; 8-bit, stereo (mixed to mono) and
// 44100 Hz files (two samples averaged into one) are converted; anything else is refused with a
// readable reason. After the end of the file it records silence.
//
// It has no clock of its own: it fills a buffer whenever the microphone gives one back, keeping
// two filled buffers waiting, so a recording is consumed exactly as fast as the engine reads it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/wave_in_device.h"

// The file's samples as 22050 Hz mono 16-bit values; false with a reason when it cannot be read.
bool LoadRecording(const std::filesystem::path& source, std::vector<std::int16_t>& samples,
                   std::string& error);

class TWavFileInDevice : public TWaveInDevice {
 public:
  static constexpr int kFilledAhead = 2;

  // An empty `source` records silence.
  explicit TWavFileInDevice(std::filesystem::path source);

  // Any device number from 0 on stands for the file. 32 with a reason (ErrorText) when the file
  // cannot be read as a recording.
  int Open(int device, const SWaveFormat& format, TWaveInDataReport& report,
           std::unique_ptr<TWaveInStream>& stream) override;
  bool CanOpen(int device, const SWaveFormat& format) override;
  std::string ErrorText(int code) const override;
  // One device, named after the source file ("Silence" without one).
  std::vector<std::string> DeviceNames() const override;

 private:
  // The samples of the source; none for silence.
  bool Recording(std::vector<std::int16_t>& samples, std::string& error) const;

  std::filesystem::path source_;
  std::string openError_;
};
