#include "engine/midi_key.h"

#include <atomic>

namespace {

void Publish(std::int32_t& field, std::int32_t value) {
  std::atomic_ref<std::int32_t>(field).store(value, std::memory_order_relaxed);
}

}  // namespace

void TWorkMidiTaste::NoteOn(SMidiTasteRecord& record, std::int32_t frequency,
                            std::int32_t amplitude) {
  if (frequency != 0) Publish(record.frequency, frequency);
  Publish(record.amplitude, amplitude);
}

void TWorkMidiTaste::NoteOff(SMidiTasteRecord& record) { Publish(record.amplitude, 0); }
