// The host's MIDI events waiting for the engine sample at which they are due. run() files each
// event of its block at the engine sample of the event's frame, and the engine hands it on just
// before it computes that sample; the output's conversion may make the engine compute a block's
// last samples in a later run(), so events wait across blocks. A fixed ring, used by the audio
// thread alone: nothing is allocated, and an event that finds the ring full is dropped.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/midi_in_file_device.h"

class TMidiSchedule {
 public:
  static constexpr std::size_t kCapacity = 1024;

  // False when the event was dropped.
  bool Add(const SMidiInEvent& event);
  // Hands `deliver` (a packed short message) every event due at or before `sampleIndex`, in the
  // order they were added.
  template <class Deliver>
  void DeliverUpTo(std::int64_t sampleIndex, Deliver deliver) {
    while (count_ > 0 && events_[first_].sampleIndex <= sampleIndex) {
      const SMidiInEvent& event = events_[first_];
      deliver(event.status | std::uint32_t{event.data1} << 8 | std::uint32_t{event.data2} << 16);
      first_ = (first_ + 1) % kCapacity;
      --count_;
    }
  }
  // Forgets every event (a new sound starts counting its samples from 0).
  void Clear() { count_ = 0; }
  std::size_t Count() const { return count_; }

 private:
  std::array<SMidiInEvent, kCapacity> events_{};
  std::size_t first_ = 0;
  std::size_t count_ = 0;
};
