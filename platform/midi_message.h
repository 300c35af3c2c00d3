// Sorting what a MIDI port delivers into what the MIDI input driver expects: a complete short
// message (Data), system-exclusive data (LongData), or anything else (Error: a lone data byte,
// a message cut short or too long, an undefined status).
#pragma once

#include <cstdint>
#include <span>

#include "engine/midi_in_device.h"

EMidiInMessage ClassifyMidiMessage(std::span<const std::uint8_t> bytes);

// Status in bits 0..7, the data bytes in 8..15 and 16..23; bytes beyond the third are left out.
std::uint32_t PackShortMessage(std::span<const std::uint8_t> bytes);
