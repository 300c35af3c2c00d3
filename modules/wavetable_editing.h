// The wavetable editor's working state: the sequence being edited, kept apart from the module
// until OK, with the editor's checks returning the exact texts the dialog shows. The dialog only
// mirrors this state in its widgets.
#pragma once

#include <array>
#include <string>

#include "modules/generators.h"

class TWavetableEdit {
 public:
  // Shown with the caption kFaultCaption and an error icon.
  static constexpr const char* kSizeOutOfRange = "Value not in range !";
  static constexpr const char* kFaultCaption = "Fault";

  // Opens on the module's title, sequence and random start; positions beyond the sequence hold
  // the sine until a larger size reveals them.
  explicit TWavetableEdit(const TWavetableGenerator& module);

  // The size button with `typed` in the size field (no number counts as 0): empty when the
  // sequence took the new size, else the message, and the sequence is unchanged.
  std::string ConfirmSize(const std::string& typed);
  // A palette wave (a wave code) dropped on a slot; anything else is ignored.
  void DropWave(int position, int waveCode);
  // Removes a slot, moving the later waves forward; false (nothing changes) for the last
  // remaining slot or a position outside the sequence.
  bool RemoveSlot(int position);
  // OK: stores the sequence, title and random start in the module, marks the document changed
  // and restarts a playing sound so that the new sequence is heard at once. Positions beyond
  // the sequence keep their stored codes.
  void Apply(TWavetableGenerator& module) const;

  int Count() const { return count_; }
  int Code(int position) const { return codes_.at(static_cast<std::size_t>(position)); }

  std::string name;
  bool randomStart;

 private:
  int count_;
  std::array<int, TWavetableGenerator::kMaxWaves> codes_{};
};
