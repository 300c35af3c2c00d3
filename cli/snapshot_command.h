// The command line of the snapshot: `zelmar --snapshot SOUND --out FILE.png [--tab structure|panel]
// [--scale S]`. It lays the sound out on its canvas without a display and writes the Structure
// page (the sound's modules and wires) or the Panel page (its panel items) as a PNG picture at the
// device pixel ratio S.
#pragma once

// Runs the command; returns the process exit status (0 written, 1 failed, 2 bad usage).
int RunSnapshotCommand(int argc, char** argv);

// The options of the snapshot command, for the program's help text.
inline const char* SnapshotUsage() {
  return "usage: zelmar --snapshot SOUND.zmr --out FILE.png [--tab structure|panel] [--scale S]\n"
         "  --tab    the Structure page (default) or the Panel page\n"
         "  --scale  device pixel ratio of the picture, above 0 and up to 4 (default 1)\n";
}
