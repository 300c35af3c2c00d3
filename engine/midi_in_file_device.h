// A MIDI input device that plays a fixed list of short messages at sample times instead of
// listening to hardware: the headless renderer and the tests feed sounds with it. Whoever runs
// the engine calls DeliverUpTo before each sample (the offline runner's sample hook), on that
// same thread, which plays the part of the device's thread.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/midi_in_device.h"
#include "engine/offline_runner.h"

struct SMidiInEvent {
  std::int64_t sampleIndex;  // engine samples since the sound started
  std::uint8_t status, data1, data2;

  friend bool operator==(const SMidiInEvent&, const SMidiInEvent&) = default;
};

class TMidiInFileDevice : public TMidiInDevice {
 public:
  // Events are played in sample order; events of the same sample keep their list order.
  explicit TMidiInFileDevice(std::vector<SMidiInEvent> events);

  int Open(TMidiInCallback* callback) override;
  int Reset() override;
  int PrepareHeader(SMidiInHeader& header) override;
  int AddBuffer(SMidiInHeader& header) override;
  int Start() override;
  int Stop() override;
  int UnprepareHeader(SMidiInHeader& header) override;
  int Close() override;

  // Hands the callback every event up to and including `sampleIndex`. Events whose time passes
  // while the device is not started are dropped, as a real device drops what it does not hear.
  void DeliverUpTo(std::int64_t sampleIndex);
  // The sample of the next message not yet delivered; the largest index when there is none.
  std::int64_t NextEventSample() const;
  // DeliverUpTo as a hook for TOfflineRunner::Run; the device must outlive the run.
  TOfflineRunner::TSampleHook SampleHook();

  bool IsOpen() const { return open_; }
  bool IsStarted() const { return started_; }

 private:
  int IfOpen() const { return open_ ? kMidiOk : kMidiInvalidHandle; }

  std::vector<SMidiInEvent> events_;
  std::size_t next_ = 0;
  TMidiInCallback* callback_ = nullptr;
  bool open_ = false;
  bool started_ = false;
};
