// The standard name dialog: captioned with the title, OK stores the typed title and marks the
// sound changed, Cancel leaves both alone.
#include "tests/dialogs/dialog_fixture.h"

namespace {

using NameDialogTest = DialogTest;

TEST_F(NameDialogTest, OkStoresTheTitleAndCancelKeepsIt) {
  TModulBild& pulse = Add("MonoSquare", "pulse");
  Script({[](QDialog& form) {
    EXPECT_EQ(Control<QLineEdit>(form, "EditName").text(), QStringLiteral(" Pulse"));
    Type(form, "EditName", QStringLiteral("Lead"));
    PressCancel(form);
  }});
  pulse.ShowProperties();
  EXPECT_EQ(pulse.Title->value, " Pulse");
  EXPECT_FALSE(document.IsModified());

  Script({[](QDialog& form) {
    Type(form, "EditName", QStringLiteral("Lead \u00e9"));
    PressOk(form);
  }});
  pulse.ShowProperties();
  EXPECT_EQ(captions, (std::vector<QString>{QStringLiteral(" Pulse"), QStringLiteral(" Pulse")}));
  EXPECT_EQ(pulse.Title->value, "Lead \xe9");
  EXPECT_TRUE(pulse.IsMarked());
  EXPECT_TRUE(document.IsModified());
}

TEST_F(NameDialogTest, TheNameHoldsAtMostFortyCharacters) {
  TModulBild& pulse = Add("MonoSquare", "pulse");
  Script({[](QDialog& form) {
    Control<QLineEdit>(form, "EditName").clear();
    Control<QLineEdit>(form, "EditName").insert(QString(50, QLatin1Char('x')));
    PressOk(form);
  }});
  pulse.ShowProperties();
  EXPECT_EQ(pulse.Title->value, std::string(40, 'x'));
}

}  // namespace
