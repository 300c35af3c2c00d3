// The constant dialog: it opens on the limits in display units, refuses limits with one of four
// messages and changes nothing then, and on OK applies the limits, clamps the value, stores the
// title and shows or removes the fader on the sound's panel.
#include <QCheckBox>

#include "modules/constants.h"
#include "tests/dialogs/dialog_fixture.h"

namespace {

using ConstantDialogTest = DialogTest;

TEST_F(ConstantDialogTest, RefusedLimitsShowTheirMessageAndChangeNothing) {
  const struct {
    const char* type;
    const char* lower;
    const char* upper;
    const char* message;
  } cases[] = {
      {"ConstAnalog", "-1000", "100", "Fault: Min value to low !"},
      {"ConstFrequenz", "0", "5000", "Fault: Min value to low !"},
      {"ConstAnalog", "0", "1000", "Fault: Max value to high !"},
      {"ConstAnalog", "50", "20", "Fault: Max value must be higher then Min value !"},
      {"ConstAnalog", "50", "50", "Fault: Max value must be different from Min value !"},
  };
  int key = 0;
  for (const auto& c : cases) {
    auto& constant = Add<TBasisKonstanten>(c.type, std::to_string(++key));
    const std::int32_t lower = constant.MinValue->value;
    const std::int32_t upper = constant.MaxValue->value;
    messages.shown.clear();
    Script({[&c](QDialog& form) {
              Type(form, "EditName", QStringLiteral("renamed"));
              Type(form, "MaskEditUntererWert", QString::fromLatin1(c.lower));
              Type(form, "MaskEditObererWert", QString::fromLatin1(c.upper));
              PressOk(form);
            },
            PressCancel});
    constant.ShowProperties();
    EXPECT_EQ(Faults(), std::vector<std::string>{c.message}) << c.lower << " " << c.upper;
    EXPECT_EQ(constant.MinValue->value, lower);
    EXPECT_EQ(constant.MaxValue->value, upper);
    EXPECT_NE(constant.Title->value, "renamed");
    EXPECT_FALSE(document.IsModified());
  }
}

TEST_F(ConstantDialogTest, OkNarrowsTheLimitsClampsTheValueAndTogglesTheFader) {
  auto& constant = Add<TBasisKonstanten>("ConstAnalog", "level");
  constant.ShowOnPanel(true);
  ASSERT_NE(constant.Fader(), nullptr);
  Script({[](QDialog& form) {
    EXPECT_EQ(Control<QLineEdit>(form, "MaskEditUntererWert").text(), QStringLiteral("0"));
    EXPECT_EQ(Control<QLineEdit>(form, "MaskEditObererWert").text(), QStringLiteral("100"));
    EXPECT_TRUE(Control<QCheckBox>(form, "CheckBoxVisibleView").isChecked());
    Type(form, "EditName", QStringLiteral("Level"));
    Type(form, "MaskEditObererWert", QStringLiteral("50"));
    Control<QCheckBox>(form, "CheckBoxVisibleView").setChecked(false);
    PressOk(form);
  }});
  constant.ShowProperties();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(constant.MaxValue->value, 1024);  // trunc(50 x 20.5 - 1)
  EXPECT_EQ(constant.Value->value, 1024);
  EXPECT_EQ(constant.Title->value, "Level");
  EXPECT_EQ(constant.ShowInView->value, 0);
  EXPECT_EQ(constant.Fader(), nullptr);
  EXPECT_TRUE(document.IsModified());

  Script({[](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Level"));
    Control<QCheckBox>(form, "CheckBoxVisibleView").setChecked(true);
    PressOk(form);
  }});
  constant.ShowProperties();
  EXPECT_EQ(constant.ShowInView->value, 1);
  EXPECT_NE(constant.Fader(), nullptr);
}

}  // namespace
