#include "plugin/state_text.h"

#include <gtest/gtest.h>

namespace {

TEST(StateText, EverySoundByteGoesIntoTheStateAsUtf8AndComesBackAsItWas) {
  std::string every;
  for (int byte = 1; byte < 256; ++byte)
    every += static_cast<char>(byte);
  const std::string text = StateTextOfSound(every);
  EXPECT_EQ(text.substr(0, 127), every.substr(0, 127));
  EXPECT_EQ(text.size(), 127 + 2 * 128);
  EXPECT_EQ(SoundOfStateText(text), every);
}

TEST(StateText, StateTextsWrittenElsewhereBecomeTheFileFormatsBytes) {
  const struct {
    std::string text;
    std::string sound;
  } cases[] = {
      {"Title \"caf\xC3\xA9\"", "Title \"caf\xE9\""},
      {"two\xC2\xA2lines", "two\xA2lines"},  // the format's line feed
      {"5 \xE2\x82\xAC and \xF0\x9F\x8E\xB9", "5 ? and ?"},
      // No UTF-8: the bytes as they stand.
      {"caf\xE9", "caf\xE9"},
      {"overlong \xC0\xAF", "overlong \xC0\xAF"},
      {"cut \xE2\x82", "cut \xE2\x82"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SoundOfStateText(c.text), c.sound) << c.text;
}

}  // namespace
