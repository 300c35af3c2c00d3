// The delay dialog refuses a time outside 0.1 to 3000 ms with "Fault Delay" and is offered again
// with the stored time; a time that fits is stored in tenths of a millisecond.
#include "modules/delay.h"
#include "tests/dialogs/dialog_fixture.h"

namespace {

using DelayDialogTest = DialogTest;

TEST_F(DelayDialogTest, ARefusedTimeOffersTheDialogAgainWithTheStoredTime) {
  auto& delay = Add<TDelay>("MonoDelay", "delay");
  const auto showsStored = [](QDialog& form) {
    EXPECT_EQ(Control<QLineEdit>(form, "EditTime").text(), QStringLiteral("200"));
    EXPECT_EQ(Control<QLineEdit>(form, "EditName").text(), QStringLiteral(" Delay"));
  };
  Script({[](QDialog& form) {
            Type(form, "EditName", QStringLiteral("Echo"));
            TypeAndOk("EditTime", QStringLiteral("0"))(form);
          },
          [&](QDialog& form) {
            showsStored(form);
            TypeAndOk("EditTime", QStringLiteral("3001"))(form);
          },
          [&](QDialog& form) {
            showsStored(form);
            Type(form, "EditName", QStringLiteral("Echo"));
            TypeAndOk("EditTime", QStringLiteral("3000"))(form);
          }});
  delay.ShowProperties();
  EXPECT_EQ(Faults(),
            std::vector<std::string>(2, "Fault Delay: Delaytime must between 0.1 and 3000 msec !"));
  EXPECT_EQ(delay.DelayTime->value, 30000);
  EXPECT_EQ(delay.Title->value, "Echo");
  EXPECT_TRUE(document.IsModified());
}

TEST_F(DelayDialogTest, CancelAfterARefusedTimeChangesNothing) {
  auto& delay = Add<TDelay>("MonoDelay", "delay");
  Script({[](QDialog& form) {
            Type(form, "EditName", QStringLiteral("Echo"));
            TypeAndOk("EditTime", QStringLiteral("0.05"))(form);
          },
          PressCancel});
  delay.ShowProperties();
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(delay.DelayTime->value, 2000);
  EXPECT_EQ(delay.Title->value, " Delay");
  EXPECT_FALSE(document.IsModified());
}

}  // namespace
