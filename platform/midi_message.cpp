#include "platform/midi_message.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kSysExStart = 0xF0;

// Bytes of the short message a status byte begins; 0 for a status that begins none.
std::size_t ShortMessageLength(std::uint8_t status) {
  if (status < 0x80) return 0;
  if (status < 0xC0) return 3;  // note off and on, key pressure, controller
  if (status < 0xE0) return 2;  // program change, channel pressure
  if (status < 0xF0) return 3;  // pitch bend
  switch (status) {
    case 0xF1:  // time code quarter frame
    case 0xF3:  // song select
      return 2;
    case 0xF2:  // song position
      return 3;
    case 0xF6:  // tune request
    case 0xF8:  // timing clock
    case 0xFA:  // start
    case 0xFB:  // continue
    case 0xFC:  // stop
    case 0xFE:  // active sensing
    case 0xFF:  // reset
      return 1;
    default:  // system exclusive, its end, and the undefined statuses
      return 0;
  }
}

}  // namespace

EMidiInMessage ClassifyMidiMessage(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return EMidiInMessage::Error;
  if (bytes.front() == kSysExStart) return EMidiInMessage::LongData;
  const bool dataBytesOnly =
      std::all_of(bytes.begin() + 1, bytes.end(), [](std::uint8_t byte) { return byte < 0x80; });
  return dataBytesOnly && ShortMessageLength(bytes.front()) == bytes.size() ? EMidiInMessage::Data
                                                                            : EMidiInMessage::Error;
}

std::uint32_t PackShortMessage(std::span<const std::uint8_t> bytes) {
  std::uint32_t packed = 0;
  for (std::size_t i = 0; i < std::min<std::size_t>(bytes.size(), 3); ++i)
    packed |= std::uint32_t{bytes[i]} << (8 * i);
  return packed;
}
