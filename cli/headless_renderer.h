// Headless rendering: a sound file, optionally fed by a Standard MIDI File, rendered through the
// very engine, modules and speaker kernels that play it live, with file devices in place of the
// sound card and without real-time pacing. The same seed, sound and MIDI file give the same WAV
// file, byte for byte.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct SRenderRequest {
  std::filesystem::path sound;
  std::filesystem::path output;
  std::filesystem::path midi;   // none: no MIDI input
  std::filesystem::path input;  // the microphones' recording; none: silence
  // Length; by default the MIDI file's length plus the releases still sounding (notes held at its
  // end are released there), or 5 s.
  std::optional<double> seconds;
  std::optional<int> voices;  // overrides the sound's "CountVoices"
  // Seeds the C library's generator (noise tables, random starts); by default the clock.
  std::optional<unsigned> seed;
};

struct SRenderSummary {
  // One file per speaker: the output itself, or the output's name with the speaker's key.
  std::vector<std::filesystem::path> files;
  double seconds = 0;
  int peak = 0;    // largest sample magnitude of all files, 32767 = full scale
  double rms = 0;  // of all samples, 32767 = full scale
  double realTimeFactor = 0;
};

// Told every tenth of a second of sound; answering false stops the render, which then fails.
using TRenderProgress = std::function<bool(double renderedSeconds, double totalSeconds)>;

// Renders the request. On failure returns false with a one-line `error` that names the file or
// the module at fault, and leaves every output as it was before.
bool RenderSound(const SRenderRequest& request, SRenderSummary& summary, std::string& error,
                 const TRenderProgress& progress = {});

// The files a render writes for the given speakers (their keys, macros' keys joined with "."):
// one speaker writes the output itself; several write files named after it and their keys, made
// distinct where two keys would give the same name.
std::vector<std::filesystem::path> RenderOutputs(const std::filesystem::path& output,
                                                 const std::vector<std::string>& speakers);
