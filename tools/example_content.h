// The bundled examples: sounds that show the range of the module catalogue, group files cut from
// them, and the MIDI files that play them. They are written by the program's own saving code, so
// they are real files of the format; `make_examples` writes them into examples/.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// An example sound and the MIDI file that plays it (empty: it plays by itself).
struct SExampleSound {
  const char* sound;
  const char* midi;
};

// Every sound WriteExamples writes, with its MIDI file.
const std::vector<SExampleSound>& ExampleSounds();
// Every group file WriteExamples writes.
const std::vector<std::string>& ExampleGroups();

// Writes the sounds, the group files and the MIDI files into `folder`. On failure returns false
// with the file that could not be written in `error`.
bool WriteExamples(const std::filesystem::path& folder, std::string& error);

// A sound with `copies` copies of the envelope-and-oscillator voice chain at 39 voices, summed
// into one speaker: the patch of the render benchmark at growing sizes.
bool WriteChainSound(const std::filesystem::path& path, int copies);
