// Codes of the tree messages that Broadcast sends down the property tree.
#pragma once

enum TTreeMessage : int {
  kTreeAfterRead = 0,       // a sound was read or modules were pasted; data: the document
  kTreeMarkActive = 1,      // re-validation, second step: modules mark themselves active
  kTreeClearActive = 2,     // re-validation, first step: modules clear their active marks
  kTreeBeforeSave = 3,      // editor windows scroll back to the origin
  kTreePaintWires = 4,      // data: the canvas; inputs draw their wires
  kTreeColorsChanged = 5,   // display colours changed
  kTreePasting = 6,         // inputs whose source was not pasted drop their wire
  kTreeClearHistory = 7,    // module lists clear their undo and redo histories
  kTreeEngine = 8,          // arg: voice count, data: collection active modules add to
  kTreeWaveOutChanged = 9,  // the default wave-output device changed
  kTreeWaveInChanged = 10,  // the default wave-input device changed
  kTreeMidiInChanged = 11,  // the default MIDI-input device changed
  kTreeEngineNews = 12,     // GUI timer: modules collect what the engine thread published
  kTreeActiveSettled = 13,  // re-validation, last step: modules whose mark changed say so
};
