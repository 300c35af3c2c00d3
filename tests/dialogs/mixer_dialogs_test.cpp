// The adder dialog adds or removes inputs as one undo step and offers only as many removals as
// leave two inputs and every connected one; the resolution dialog stores the chosen bits.
#include <QComboBox>
#include <QRadioButton>
#include <QToolButton>

#include "modules/mixers.h"
#include "patch/ports.h"
#include "tests/dialogs/dialog_fixture.h"

namespace {

class MixerDialogTest : public DialogTest {
 protected:
  // An adder with `connected` inputs wired and `free` unwired, in that order, and no history.
  TAddierer& AdderWith(int connected, int free) {
    const std::string key = std::to_string(++adders_);
    auto& adder = Add<TAddierer>("MonoAddierer", "adder" + key);
    auto& source = Add<TModulArbeiten>("ConstAnalog", "source" + key);
    adder.AddInputs(connected + free);
    for (int i = 0; i < connected; ++i)
      Input(adder, i).Connect(source.OutputList->Output("1"), false);
    list.ActionManager.ClearHistory();
    return adder;
  }
  static int Inputs(const TAddierer& adder) { return adder.InputList->Count(); }
  static TEingang& Input(const TAddierer& adder, int index) {
    return dynamic_cast<TEingang&>(*adder.InputList->Ports().at(static_cast<std::size_t>(index)));
  }

 private:
  int adders_ = 0;
};

// Chooses `mode` ("RadioButtonNew" or "RadioButtonRemove") and `count`, then presses OK.
TDialogStep Choose(const char* mode, int count) {
  return [mode, count](QDialog& form) {
    Control<QRadioButton>(form, mode).click();
    Control<QToolButton>(form, QStringLiteral("SpeedButton%1").arg(count).toLatin1().constData())
        .click();
    PressOk(form);
  };
}

TEST_F(MixerDialogTest, NewInputsAreOneUndoStep) {
  TAddierer& adder = AdderWith(0, 2);
  Script({Choose("RadioButtonNew", 3)});
  adder.ShowProperties();
  EXPECT_EQ(Inputs(adder), 5);
  EXPECT_EQ(list.ActionManager.UndoCount(), 1);
  EXPECT_NE(list.ActionManager.UndoText().find("new input"), std::string::npos);
  list.ActionManager.Undo();
  EXPECT_EQ(Inputs(adder), 2);
}

TEST_F(MixerDialogTest, RemoveOffersOnlyTheInputsThatCanGo) {
  const struct {
    int connected, free;
    bool removable, two, three;
    int asked, left;
  } cases[] = {
      {2, 3, true, true, true, 3, 2},
      {1, 2, true, false, false, 1, 2},
      {2, 0, false, false, false, 0, 2},
  };
  for (const auto& c : cases) {
    TAddierer& adder = AdderWith(c.connected, c.free);
    Script({[&c](QDialog& form) {
      auto& remove = Control<QRadioButton>(form, "RadioButtonRemove");
      EXPECT_EQ(remove.isEnabled(), c.removable);
      if (!c.removable) return PressCancel(form);
      remove.click();
      EXPECT_EQ(Control<QToolButton>(form, "SpeedButton2").isEnabled(), c.two);
      EXPECT_EQ(Control<QToolButton>(form, "SpeedButton3").isEnabled(), c.three);
      Control<QToolButton>(form,
                           QStringLiteral("SpeedButton%1").arg(c.asked).toLatin1().constData())
          .click();
      PressOk(form);
    }});
    adder.ShowProperties();
    EXPECT_EQ(Inputs(adder), c.left) << c.connected << " + " << c.free;
    for (int i = 0; i < c.connected; ++i)
      EXPECT_FALSE(Input(adder, i).IsFree());
    EXPECT_EQ(list.ActionManager.UndoCount(), c.removable ? 1 : 0);
    if (c.removable) {
      list.ActionManager.Undo();
      EXPECT_EQ(Inputs(adder), c.connected + c.free);
    }
  }
}

TEST_F(MixerDialogTest, TheResolutionDialogStoresTheChosenBits) {
  auto& resolution = Add<TAufloesung>("MonoResolution", "resolution");
  Script({[](QDialog& form) {
    auto& choice = Control<QComboBox>(form, "ComboBoxResolution");
    EXPECT_EQ(choice.count(), 16);
    EXPECT_EQ(choice.itemText(0), QStringLiteral("Normal"));
    EXPECT_EQ(choice.itemText(15), QStringLiteral("-15 Bit"));
    choice.setCurrentIndex(7);
    PressOk(form);
  }});
  resolution.ShowProperties();
  EXPECT_EQ(resolution.Resolution->value, 7);
  EXPECT_TRUE(document.IsModified());
}

}  // namespace
