// The microphone kernel (work type 17) reads one recorded sample per engine sample from the
// filled buffers of its wave-input driver (the recording rate is the engine rate) and gives
// each buffer back when it is used up. A buffer change costs one sample of output 0.
//
// In the duplex mode, where the speakers' device records the microphone in the same callback
// that computes the sound, the kernel leaves the driver's buffers alone: before each piece of a
// period the callback feeds it that piece's 44100 Hz input, which it halves into 22050 Hz
// samples of its own, one for each engine sample of the piece.
#pragma once

#include <array>
#include <cstdint>

#include "engine/sample_halver.h"
#include "engine/speaker_kernels.h"
#include "engine/wave_buffer.h"
#include "engine/work_object.h"

class TWorkWaveIn;

struct SMicrophonRecord {
  std::int32_t output = 0;  // audio, the 16-bit recorded sample as it is
  TWorkWaveIn* driver = nullptr;
  SWaveHeader* header = nullptr;   // the buffer being read, null when none
  std::uint32_t readPosition = 0;  // bytes
};

class TWorkMicrophon : public TWorkRecords<SMicrophonRecord> {
 public:
  // Device frames per Feed, as many as the speaker kernel takes per Aim.
  static constexpr std::uint32_t kMaxFeedFrames = TDirectOutput::kMaxAimFrames;

  void ProcessSample() override;

  // GUI thread, while no sample is computed: the duplex mode on or off.
  void SetDirect(bool direct);
  // GUI thread, while bound: the driver of the sound's one microphone; null when the sound has
  // none on a device, or more than one microphone.
  TWorkWaveIn* SoleDriver() const;
  // Device callback, in the duplex mode, before the frames / 2 engine samples of a piece:
  // `frames` (at most kMaxFeedFrames, even) 16-bit mono samples; null records silence.
  void Feed(const std::int16_t* samples, std::uint32_t frames);

 private:
  void ProcessDirect();

  bool direct_ = false;
  // The device callback only: the current piece's samples.
  TSampleHalver halver_;
  std::array<std::int16_t, kMaxFeedFrames / 2> fed_{};
  std::size_t fedCount_ = 0;
  std::size_t nextFed_ = 0;
};
