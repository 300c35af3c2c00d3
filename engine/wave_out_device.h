// What the wave-output driver needs of a sound output: a device service that opens streams,
// and an open stream that plays queued buffers back to back. A real sound card (an audio
// callback reading the queued buffers in order) and the WAV-file device both implement it.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/wave_buffer.h"
#include "engine/wave_format.h"

// The done report: the stream calls it once for every buffer it has finished with (played,
// or returned by Reset or Close), on whatever thread the stream runs.
class TWaveOutDoneReport {
 public:
  virtual ~TWaveOutDoneReport() = default;
  virtual void BufferDone(SWaveHeader& header) = 0;
};

// Computes the device's sound itself, called from the device's own callback for every period
// (the low-latency mode): `frames` frames of 16-bit samples in the stream's format into `out`.
// `in` holds the same period's `frames` 16-bit mono samples of the input the stream took (see
// TWaveOutStream::TakeInput), null without one. It must not allocate, lock or wait.
class TWaveOutRenderer {
 public:
  virtual ~TWaveOutRenderer() = default;
  virtual void Render(std::byte* out, const std::int16_t* in, std::uint32_t frames) = 0;
};

// One open output device.
class TWaveOutStream {
 public:
  virtual ~TWaveOutStream() = default;

  // Appends a filled buffer behind those already handed over; the stream reads its data only
  // while it plays it. Called on the driver's output thread; may block while the device is busy.
  // Returns a result code; on failure the buffer is not played and no done report follows.
  virtual int Write(SWaveHeader& header) = 0;
  // Stops playing, reports every buffer it holds as done before returning, and counts the
  // position from 0 again.
  virtual int Reset() = 0;
  // Frames (samples per channel) played since the stream was opened or last reset.
  virtual std::uint32_t GetPosition() const = 0;
  // Returns what it holds as done and releases the device; after it no report is made. A
  // result other than 0 says the output was not delivered completely (a file not written).
  virtual int Close() = 0;

  // From the next period on, the device's callback plays what `renderer` computes instead of the
  // buffers; `renderer` must stay alive until EndRendering returned true. False when this stream
  // cannot call one (a file, or a device without a callback of its own).
  virtual bool BeginRendering(TWaveOutRenderer& /*renderer*/) { return false; }
  // Back to the buffers. True once the callback has left the renderer for good; false when it
  // was still inside after `limit`, and the renderer must then never be freed.
  virtual bool EndRendering(std::chrono::milliseconds /*limit*/) { return true; }
  // Before BeginRendering: records the input device listed as `inputName` in the same callback
  // from now on until the stream closes, which makes the sound duplex. False when this stream
  // cannot (a file, or an input on another system).
  virtual bool TakeInput(const std::string& /*inputName*/) { return false; }
};

// The device service: the numbered output devices of the system.
class TWaveOutDevice {
 public:
  virtual ~TWaveOutDevice() = default;

  // Opens device `device` with `format`; `report` must outlive the stream. On success
  // `stream` holds the open stream and the result is 0.
  virtual int Open(int device, const SWaveFormat& format, TWaveOutDoneReport& report,
                   std::unique_ptr<TWaveOutStream>& stream) = 0;
  // True when the device opens with `format`; it is closed again at once.
  virtual bool CanOpen(int device, const SWaveFormat& format) = 0;
  // A readable text for a result code of this device.
  virtual std::string ErrorText(int code) const = 0;
  // The names of the devices 0..n-1, as the device dialogs list them; none by default.
  virtual std::vector<std::string> DeviceNames() const { return {}; }
};
