// A MIDI input device as the MIDI input driver sees it: the platform's MIDI input service cut
// down to the calls the driver makes. Implementations: the real-time device and a scheduled
// device that plays a list of messages at sample times (headless rendering, tests).
#pragma once

#include <cstddef>
#include <cstdint>

// Results of the device calls, the multimedia service's numbers; 0 is success.
enum EMidiResult : int {
  kMidiOk = 0,
  kMidiError = 1,
  kMidiBadDeviceId = 2,
  kMidiAllocated = 4,      // the driver or device is open already
  kMidiInvalidHandle = 5,  // the driver or device is not open
};

// The buffer a device fills with system-exclusive data.
struct SMidiInHeader {
  std::byte* data;
  std::uint32_t bufferLength;   // bytes
  std::uint32_t bytesRecorded;  // bytes the device wrote
};

enum class EMidiInMessage { Open, Close, Data, LongData, Error, LongError, MoreData };

// What a device calls on its own thread. `packedMessage` holds a short message for Data and
// Error (status in bits 0..7, data1 in 8..15, data2 in 16..23); `header` the filled buffer for
// LongData; the other argument is 0 or null.
class TMidiInCallback {
 public:
  virtual void MidiInCallback(EMidiInMessage message, std::uint32_t packedMessage,
                              SMidiInHeader* header) = 0;

 protected:
  ~TMidiInCallback() = default;
};

class TMidiInDevice {
 public:
  virtual ~TMidiInDevice() = default;

  // With a null callback the device is opened only to see whether it can be.
  virtual int Open(TMidiInCallback* callback) = 0;
  virtual int Reset() = 0;
  virtual int PrepareHeader(SMidiInHeader& header) = 0;
  virtual int AddBuffer(SMidiInHeader& header) = 0;
  // Messages reach the callback from Start until Stop.
  virtual int Start() = 0;
  virtual int Stop() = 0;
  virtual int UnprepareHeader(SMidiInHeader& header) = 0;
  // Once Close has returned, the callback is never called again.
  virtual int Close() = 0;
};
