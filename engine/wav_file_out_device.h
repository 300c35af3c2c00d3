// A wave-output device that writes what it plays into a 16-bit PCM WAV file at 44100 Hz, for
// offline rendering and tests. It has no clock of its own: whoever runs the engine offline lets
// it play with Play(frames), and it consumes that many frames from the buffers handed to it, so
// that its position, and with it the speakers' clock correction, follows the engine exactly.
//
// The target is written as every output file is (persist/output_file.h): a file is replaced only
// when Close finds every write successful, so a failed run leaves no half-written file; a pipe or
// device is written as a stream whose header announces the longest file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/wave_out_device.h"

class TWavFileOutput;

// What a stream wrote into its file, over every sample of every channel.
struct SWavLevels {
  int peak = 0;  // largest magnitude
  double sumOfSquares = 0;
  std::uint64_t samples = 0;
};

class TWavFileOutDevice : public TWaveOutDevice {
 public:
  explicit TWavFileOutDevice(std::filesystem::path target);
  ~TWavFileOutDevice() override;

  // Any device number from 0 on stands for the file; one stream at a time.
  int Open(int device, const SWaveFormat& format, TWaveOutDoneReport& report,
           std::unique_ptr<TWaveOutStream>& stream) override;
  bool CanOpen(int device, const SWaveFormat& format) override;
  // For a failure of this device, the detailed reason (which write failed, and why).
  std::string ErrorText(int code) const override;
  // One device, named after the target file.
  std::vector<std::string> DeviceNames() const override;

  // The first `frames` frames the open stream plays are not written to the file (the silence a
  // speaker keeps ahead of the device, which an offline render does not want).
  void SkipLeadingFrames(std::uint32_t frames);
  // Plays `frames` frames (at 44100 per second) of the open stream; nothing while closed.
  void Play(std::uint32_t frames);

  // An open stream's file is not written: its close leaves the target as it was.
  void Abandon();
  // True once the last stream closed and its file is complete.
  bool Written() const;

  // The levels of the last stream's file, as far as it is written; a file that failed to complete
  // reports what it wrote before the failure.
  SWavLevels Levels() const;

  const std::filesystem::path& target() const { return target_; }
  // The temporary file the last stream wrote before it was renamed over the target; empty for a
  // stream to a pipe or device.
  std::filesystem::path TemporaryPath() const;

 private:
  std::filesystem::path target_;
  std::shared_ptr<TWavFileOutput> output_;
  std::string openError_;
};
