// MIDI note numbers as frequencies and names. The key and envelope modules look a note's
// frequency up here when a note-on arrives; dialogs show the names.
#pragma once

#include <cstdint>

struct SNote {
  std::int32_t frequency;  // hertz x 1024
  char name[12];           // pitch and octave, "C -4" .. "G 6"; note 69 is "A 1"
};

inline constexpr int kNoteCount = 128;

// The note for a MIDI note number; only the low 7 bits count, as in a MIDI data byte.
const SNote& Note(int number);
