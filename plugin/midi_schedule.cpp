#include "plugin/midi_schedule.h"

bool TMidiSchedule::Add(const SMidiInEvent& event) {
  if (count_ == kCapacity) return false;
  events_[(first_ + count_) % kCapacity] = event;
  ++count_;
  return true;
}
