#include "engine/note_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(NoteTable, FrequenciesAndNames) {
  struct SCase {
    int number;
    std::int32_t frequency;  // hertz x 1024
    const char* name;
  } cases[] = {{0, 8372, "C -4"},     {1, 8870, "Cis -4"},   {11, 15804, "H -4"},
               {12, 16744, "C -3"},   {60, 267905, "C 1"},   {69, 450560, "A 1"},
               {70, 477352, "Ais 1"}, {127, 12844906, "G 6"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Note(c.number).frequency, c.frequency) << c.number;
    EXPECT_STREQ(Note(c.number).name, c.name) << c.number;
  }
}

TEST(NoteTable, RisesBySemitonesAndDoublesPerOctave) {
  for (int n = 1; n < kNoteCount; ++n)
    EXPECT_GT(Note(n).frequency, Note(n - 1).frequency);
  for (int n = 12; n < kNoteCount; ++n) {
    EXPECT_NEAR(Note(n).frequency, 2 * Note(n - 12).frequency, 2) << n;
  }
}

TEST(NoteTable, OnlyTheDataBitsOfANoteNumberCount) {
  EXPECT_EQ(&Note(128 + 69), &Note(69));
  EXPECT_EQ(&Note(-1), &Note(127));
}

}  // namespace
