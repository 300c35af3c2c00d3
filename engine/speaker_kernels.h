// The speaker kernels (work types 18 mono, 19 stereo) stream the engine's 22050 Hz signal into
// the 44100 Hz buffers of a wave-output driver. Each engine sample becomes two device frames:
// the midpoint between the previous and the current value, then the current value. The kernel
// writes a lead ahead of the device's play position; once per buffer it compares the frames it
// wrote with the frames the device played and, when they drift apart, inserts or drops one frame
// pair every 2002 samples until the difference is back inside the tolerance.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "engine/wave_buffer.h"
#include "engine/work_object.h"

class TWorkWaveOut;

struct SLautsprecherRecord {
  const std::int32_t* left = nullptr;   // audio, 2048 = engine full scale
  const std::int32_t* right = nullptr;  // stereo speaker only
  std::int32_t previousLeft = 0;
  std::int32_t previousRight = 0;
  TWorkWaveOut* driver = nullptr;
  TWorkWaveOutBuffer* current = nullptr;
  TWorkWaveOutBuffer* next = nullptr;             // null while none has been taken
  std::byte* data = nullptr;                      // data of the current buffer
  std::atomic<std::uint32_t>* written = nullptr;  // the current buffer's "written up to" mark
  std::uint32_t writePosition = 0;                // bytes into the current buffer
  std::int32_t correctionCount = 0;               // < 0: device frame pairs to insert, > 0: to drop
  std::int32_t correctionSpacing = 0;             // engine samples since the last correction step
  std::uint32_t framesWritten = 0;  // device frames since Prepare, 2 per engine sample
  std::uint32_t bufferLength = 0;   // bytes usable in the current buffer, 0 without one
};

// The "WaveBuffer" sound option in milliseconds: the output latency.
inline constexpr int kWaveBufferDefault = 26;
inline constexpr int kWaveBufferMinimum = 10;
inline constexpr int kWaveBufferMaximum = 100;

// The speaker kernels in the low-latency mode, where the engine runs inside the device's own
// callback: the kernel leaves the driver's buffers alone and writes each period's samples
// straight into the callback's output.
class TDirectOutput {
 public:
  virtual ~TDirectOutput() = default;
  // GUI thread, while no sample is computed; applies from the next Prepare.
  virtual void SetDirect(bool direct) = 0;
  // While bound: the driver of the first record; null without one.
  virtual TWorkWaveOut* FirstDriver() const = 0;
  // Frames per Aim: far below the point where the kernel would reach for its next buffer.
  static constexpr std::uint32_t kMaxAimFrames = 4096;
  // Device callback, before the samples of one period, in the direct mode: the next
  // frames / 2 engine samples go to `out` (frames of FrameBytes each, at most kMaxAimFrames).
  virtual void Aim(std::byte* out, std::uint32_t frames) = 0;
  virtual std::uint32_t FrameBytes() const = 0;
};

template <int Channels>
class TSpeakerKernel : public TWorkRecords<SLautsprecherRecord>, public TDirectOutput {
 public:
  // Frames of 16-bit samples; every engine sample writes two of them.
  static constexpr std::uint32_t kFrameBytes = 2 * Channels;
  static constexpr std::uint32_t kPairBytes = 2 * kFrameBytes;
  // The next buffer is handed over a little after the current one is half written.
  static constexpr std::uint32_t kNextBufferAt = Channels == 1 ? 100000 : 160000;
  // 500 bytes per millisecond of "WaveBuffer" for mono, 1000 for stereo.
  static constexpr std::uint32_t kLeadBytesPerMillisecond = 500 * Channels;
  // One correction step when the spacing counter has reached this: once every 2002 samples.
  static constexpr std::int32_t kCorrectionSpacing = 2001;
  static constexpr std::int32_t kTolerance = 230;  // device frames
  static constexpr std::int32_t kCorrectionTarget = 200;

  // Clamped to 10..100 ms. Takes effect at the next Prepare.
  void SetWaveBuffer(int milliseconds);
  std::uint32_t LeadBytes() const { return leadBytes_; }

  // Resets each record's driver and hands its first buffer over at once; the kernel then writes
  // from the lead on while the device plays from byte 0.
  void Prepare() override;
  void ProcessSample() override;
  void StopWork() override;

  void SetDirect(bool direct) override { direct_ = direct; }
  TWorkWaveOut* FirstDriver() const override;
  void Aim(std::byte* out, std::uint32_t frames) override { AimEach(out, frames, 0); }
  std::uint32_t FrameBytes() const override { return kFrameBytes; }
  // As Aim, but record i (in record order) writes to `out + i * recordBytes`, so that a host
  // that mixes the speakers itself hears each of them.
  void AimEach(std::byte* out, std::uint32_t frames, std::size_t recordBytes);

 private:
  void PrepareDirect();

  std::uint32_t leadBytes_ = kWaveBufferDefault * kLeadBytesPerMillisecond;
  bool direct_ = false;
  // Where a direct record publishes how far it wrote; nobody reads it.
  std::atomic<std::uint32_t> directMark_{0};
};

class TWorkLautsprecher : public TSpeakerKernel<1> {};
class TWorkLautsprecherStereo : public TSpeakerKernel<2> {};
