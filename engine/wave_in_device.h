// What the wave-input driver needs of a sound input: a device service that opens streams, and
// an open stream that fills the buffers it is given, in order, and reports each filled one. A
// real sound card (an audio callback) and the WAV-file input device both implement it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/wave_buffer.h"
#include "engine/wave_format.h"

// The data report: called once per filled buffer (bytesRecorded set), on the stream's thread.
class TWaveInDataReport {
 public:
  virtual ~TWaveInDataReport() = default;
  virtual void BufferFilled(SWaveHeader& header) = 0;
};

class TWaveInStream {
 public:
  virtual ~TWaveInStream() = default;

  // Gives the stream an empty buffer to fill after those it already holds. Called on the engine
  // thread while recording, so it must not block.
  virtual int AddBuffer(SWaveHeader& header) = 0;
  virtual int Start() = 0;
  // Stops recording and gives up every buffer it holds.
  virtual int Reset() = 0;
  // Releases the device; after it no report is made.
  virtual int Close() = 0;
  // The name of the system's input device it records, as DeviceNames lists it; empty for one
  // that no output stream can record in its own callback (a file).
  virtual std::string DeviceName() const { return {}; }
};

class TWaveInDevice {
 public:
  virtual ~TWaveInDevice() = default;

  // Opens device `device` with `format`; `report` must outlive the stream.
  virtual int Open(int device, const SWaveFormat& format, TWaveInDataReport& report,
                   std::unique_ptr<TWaveInStream>& stream) = 0;
  virtual bool CanOpen(int device, const SWaveFormat& format) = 0;
  virtual std::string ErrorText(int code) const = 0;
  // The names of the devices 0..n-1, as the device dialogs list them; none by default.
  virtual std::vector<std::string> DeviceNames() const { return {}; }
};
