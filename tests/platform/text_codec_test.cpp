#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <sstream>

#include "persist/prop_values.h"

namespace {

// A title typed in a widget must come back from a file exactly, or visibly replaced: never as
// a different character.
TEST(TextCodec, TitlesSurviveTheFileFormatOrAreReplacedVisibly) {
  const struct {
    QString typed;
    QString readBack;
  } cases[] = {
      {QStringLiteral(" Größe \"x\""), QStringLiteral(" Größe \"x\"")},
      {QStringLiteral("5¢ 7¥"), QStringLiteral("5? 7?")},
      {QStringLiteral("€ 漢"), QStringLiteral("? ?")},
      {QString(), QString()},
  };
  for (const auto& c : cases) {
    TPropString stored(ToFileText(c.typed));
    std::stringstream file;
    stored.Write(file);
    file << '\n';
    TPropString loaded;
    ASSERT_TRUE(loaded.Read(file));
    EXPECT_EQ(FromFileText(loaded.value), c.readBack) << c.typed.toStdString();
  }
}

}  // namespace
