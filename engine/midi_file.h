// Standard MIDI Files (formats 0 and 1) read into the short messages that a MIDI input device
// would deliver, each at the engine sample at which it sounds. Tempo changes are followed;
// system-exclusive and meta events other than tempo and end of track are skipped, and so are
// program changes and polyphonic key pressure, which no module reads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "engine/midi_in_file_device.h"
#include "engine/work_object.h"

struct SMidiFile {
  // In sample order; messages at the same sample keep their order in the file (track by track
  // for format 1).
  std::vector<SMidiInEvent> events;
  // Engine samples up to the last event of any track, end-of-track events included.
  std::int64_t lengthSamples = 0;
};

// One message of a file being written, at its tick (`ticksPerQuarter` per quarter note).
struct SMidiFileMessage {
  std::uint32_t tick;
  std::uint8_t status, data1, data2;
};

// The bytes of a format-0 file with one track holding `messages` (in tick order) at a fixed
// tempo in microseconds per quarter note.
std::vector<std::uint8_t> EncodeMidiFile(const std::vector<SMidiFileMessage>& messages,
                                         std::uint16_t ticksPerQuarter, std::uint32_t tempo);

// Parses the bytes of a MIDI file. On failure returns false and sets `error` to a sentence that
// says what is wrong.
bool ParseMidiFile(std::span<const std::uint8_t> bytes, SMidiFile& file, std::string& error);
// A note still held at the end of a file sounds at least this long (engine samples), so that a
// chord written without its note-offs and without a length of its own is heard.
inline constexpr std::int64_t kShortestHeldNote = kEngineSampleRate;

// Adds a note-off for every note still held at the file's end, so that a render of the file
// follows their releases as it does for every other note. They come at the end, or as late as
// kShortestHeldNote asks; the length grows to cover them.
void ReleaseHeldNotes(SMidiFile& file);

// Far beyond any real piece; larger files are refused rather than read into memory.
inline constexpr std::uint64_t kMidiMaxReadBytes = 64ull << 20;

// Reads and parses a regular file; an unreadable file is an error like a malformed one.
bool ReadMidiFile(const std::filesystem::path& path, SMidiFile& file, std::string& error);
