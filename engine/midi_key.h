// The MIDI key's work records (work type 14): per voice, the amplitude and frequency of the note
// it plays. The key module writes them from the MIDI thread; generators and other modules read
// them through their input pointers. There is no kernel: the engine never processes them.
#pragma once

#include <cstdint>

#include "engine/work_object.h"

struct SMidiTasteRecord {
  std::int32_t amplitude;  // 2048 = unity; 0 while the key is up
  std::int32_t frequency;  // hertz x 1024 of the last note played on this voice
};

class TWorkMidiTaste : public TWorkRecords<SMidiTasteRecord> {
 public:
  bool NeedsProcessing() const override { return false; }

  // MIDI thread. Each field is one relaxed atomic store: readers take each value on its own,
  // once per sample, and no other data is published with it. A frequency of 0 (no note number
  // given) keeps the previous one.
  static void NoteOn(SMidiTasteRecord& record, std::int32_t frequency, std::int32_t amplitude);
  static void NoteOff(SMidiTasteRecord& record);
};
