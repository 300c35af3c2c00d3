// The end of a wiring gesture on the canvas, in the model: what dropping a wire dragged from one
// connector onto another would do, and doing it as one undo step with the patch re-validated, so
// that no view assembles undo or restart steps itself.
#pragma once

class TEinAusgang;

// What a wire dragged from a connector would do when dropped where the mouse is.
enum TWireDropClass : int {
  kDropNothing = 0,  // not over a connector
  kDropRemoves = 1,  // the ports are wired to each other: dropping removes that wire
  kDropConnects = 2,
  kDropRefused = 3,  // the ports do not fit
};

// Classifies a drop of a wire from `start` onto `target` (null: no connector there).
TWireDropClass ClassifyWireDrop(const TEinAusgang& start, const TEinAusgang* target);

// Drops a wire from `start` onto `target`: for the classes that make or remove a wire the start
// module is asked (CanConnect), the wire is changed, the step filed with the list's history and
// the patch re-validated (a playing sound restarts). True when the patch changed.
bool DropWire(TEinAusgang& start, TEinAusgang* target);

// Removes the wire of an input, or every wire of an output, as one undo step. True when the
// patch changed.
bool RemoveWires(TEinAusgang& port);
