#include "engine/note_table.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace {

// The semitone ratio is this decimal constant, applied by repeated multiplication, so that
// every frequency is the same on every build (note 69 gives exactly 440 Hz x 1024 = 450560).
constexpr double kSemitone = 1.059463094359;
constexpr double kBelowNoteZero = 6.875;  // three semitones below note 0, in hertz

constexpr const char* kPitchNames[12] = {"C ",   "Cis ", "D ",   "Dis ", "E ",   "F ",
                                         "Fis ", "G ",   "Gis ", "A ",   "Ais ", "H "};
constexpr int kFirstOctave = -4;

std::array<SNote, kNoteCount> BuildNotes() {
  std::array<SNote, kNoteCount> notes{};
  double hertz = kBelowNoteZero;
  for (int i = 0; i < 3; ++i)
    hertz *= kSemitone;
  for (int n = 0; n < kNoteCount; ++n) {
    // NOLINTNEXTLINE(bugprone-incorrect-roundings): hertz is positive; stored sounds rely on it.
    notes[n].frequency = static_cast<std::int32_t>(hertz * 1024.0 + 0.5);
    std::snprintf(notes[n].name, sizeof notes[n].name, "%s%d", kPitchNames[n % 12],
                  kFirstOctave + n / 12);
    hertz *= kSemitone;
  }
  return notes;
}

}  // namespace

const SNote& Note(int number) {
  static const std::array<SNote, kNoteCount> notes = BuildNotes();
  return notes[static_cast<unsigned>(number) % kNoteCount];
}
