#include "platform/midi_message.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct SCase {
  std::vector<std::uint8_t> bytes;
  EMidiInMessage kind;
};

TEST(MidiMessage, SortsCompleteShortMessagesSystemExclusiveAndMalformedBytes) {
  const SCase cases[] = {
      {{0x90, 60, 100}, EMidiInMessage::Data},            // note on
      {{0x80, 60, 0}, EMidiInMessage::Data},              // note off
      {{0xB3, 7, 127}, EMidiInMessage::Data},             // controller
      {{0xC0, 5}, EMidiInMessage::Data},                  // program change
      {{0xD1, 64}, EMidiInMessage::Data},                 // channel pressure
      {{0xE0, 0, 64}, EMidiInMessage::Data},              // pitch bend
      {{0xF1, 0x21}, EMidiInMessage::Data},               // time code
      {{0xF2, 1, 2}, EMidiInMessage::Data},               // song position
      {{0xF8}, EMidiInMessage::Data},                     // clock
      {{0xFE}, EMidiInMessage::Data},                     // active sensing
      {{0xF0, 0x7D, 1, 0xF7}, EMidiInMessage::LongData},  // system exclusive
      {{}, EMidiInMessage::Error},
      {{60, 100}, EMidiInMessage::Error},             // data without status
      {{0x90, 60}, EMidiInMessage::Error},            // cut short
      {{0xC0, 5, 6}, EMidiInMessage::Error},          // too long
      {{0x90, 60, 0x80}, EMidiInMessage::Error},      // a status where data belongs
      {{0xF4}, EMidiInMessage::Error},                // undefined
      {{0xF7}, EMidiInMessage::Error},                // end of an exclusive never begun
      {{0x90, 60, 100, 0x40}, EMidiInMessage::Error}  // two messages in one
  };
  for (const SCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    EXPECT_EQ(ClassifyMidiMessage(c.bytes), c.kind);
  }
}

TEST(MidiMessage, PacksStatusAndDataIntoTheLowThreeBytes) {
  EXPECT_EQ(PackShortMessage(std::vector<std::uint8_t>{0x90, 0x3C, 0x64}), 0x643C90u);
  EXPECT_EQ(PackShortMessage(std::vector<std::uint8_t>{0xC0, 5}), 0x05C0u);
  EXPECT_EQ(PackShortMessage(std::vector<std::uint8_t>{0x90, 1, 2, 3}), 0x020190u);
}

}  // namespace
