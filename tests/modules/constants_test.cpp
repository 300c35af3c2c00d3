#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "engine/offline_runner.h"
#include "modules/constants.h"
#include "modules/panel_items.h"
#include "patch/dokument_klang.h"
#include "patch/headless_canvas.h"
#include "patch/module_registry.h"

namespace {

// Ends a chain and reads, through the engine's own linking, whatever is wired to it.
class TProbe : public TModulBild {
 public:
  explicit TProbe(int inputCode) { InputList->AddPort(inputCode); }
  bool IsSink() const override { return true; }
  void BindWork(int voice, void*, TBindContext& context) override {
    LinkInput("1", voice, &input, context);
  }
  const std::int32_t* input = nullptr;
};

TRPointer<TBasisKonstanten> NewConstant(const std::string& typeName) {
  bool queryOnly = false;
  return std::dynamic_pointer_cast<TBasisKonstanten>(CreateModuleByType(typeName, queryOnly));
}

template <class T>
T& Place(TModuleListe& list, const std::string& key, TRPointer<T> module) {
  module->parent = &list;
  list.Add(key, module);
  return *module;
}

// A sound holding one constant under "C".
class ConstantSound : public ::testing::Test {
 protected:
  TBasisKonstanten& AddConstant(const std::string& typeName) {
    return Place(*document.ModuleList, "C", NewConstant(typeName));
  }
  TModuleListe& PanelList() { return *document.ViewSound->ModuleList; }
  // Opens the sound window: panel tab first, then the structure, as the editor does.
  void ShowWindow() {
    PanelList().SetView(&panelCanvas, kPanelEditable);
    document.ModuleList->SetView(&structureCanvas, kPanelEditable);
  }
  TModulSchieber* FaderItem() { return dynamic_cast<TModulSchieber*>(PanelList().Get("C").get()); }

  TDokumentKlang document;
  THeadlessCanvas panelCanvas;
  THeadlessCanvas structureCanvas;
};

TEST(ConstantConversions, RawValuesAndTextsConvertBothWays) {
  const auto audio = NewConstant("ConstAnalog");
  const auto frequency = NewConstant("ConstFrequenz");
  struct SShown {
    const TBasisKonstanten& kind;
    std::int32_t raw;
    const char* value;
    const char* limit;
  };
  const SShown shown[] = {
      {*audio, 1639, "80", "80"},
      {*audio, 2049, "100", "100"},
      {*audio, -1, "0", "0"},
      {*audio, -20480, "-1000", "-1000"},
      {*frequency, 1024, "1.00", "1.00"},
      {*frequency, 450560, "  440", " 440"},
      {*frequency, 10240, " 10.0", "10.00"},
      {*frequency, 102399, "100.0", "100.00"},
      {*frequency, 5120000, " 5000", "5000"},
      {*frequency, 10, "0.01", "0.01"},
  };
  for (const auto& c : shown) {
    EXPECT_EQ(c.kind.ShowValue(c.raw), c.value) << c.raw;
    EXPECT_EQ(c.kind.FormatLimit(c.raw), c.limit) << c.raw;
  }

  struct STyped {
    const TBasisKonstanten& kind;
    const char* text;
    std::int32_t raw;
  };
  const STyped typed[] = {
      {*audio, "80", 1638},     {*audio, "150", 3072},
      {*audio, "-5", -102},     {*audio, "abc", 0},
      {*audio, "12.9", 245},    {*frequency, "440", 450560},
      {*frequency, "0.5", 512}, {*frequency, "  440", 450560},
      {*frequency, "nan", 0},   {*frequency, "9e99", 2147483647},
  };
  for (const auto& c : typed)
    EXPECT_EQ(c.kind.ValueTyped(c.text), c.raw) << c.text;

  EXPECT_EQ(audio->SetLimit(100), 2049);
  EXPECT_EQ(audio->SetLimit(80), 1639);
  EXPECT_EQ(audio->SetLimit(0), -1);
  EXPECT_EQ(frequency->SetLimit(440), 450560);
  EXPECT_EQ(frequency->SetLimit(0.01), 10);
  EXPECT_EQ(audio->BoundText(TLimit::Lower), ">= -999");
  EXPECT_EQ(audio->BoundText(TLimit::Upper), "=<  999");  // "%4.0f" pads to four
  EXPECT_EQ(frequency->BoundText(TLimit::Lower), ">= 0.01");
  EXPECT_EQ(frequency->BoundText(TLimit::Upper), "=< 5000");
}

TEST(ConstantKinds, DefaultsTitlesAndOutputs) {
  const auto audio = NewConstant("ConstAnalog");
  const auto frequency = NewConstant("ConstFrequenz");
  EXPECT_EQ(audio->Title->value, " Fader audio");
  EXPECT_EQ(frequency->Title->value, " Fader freq.");
  EXPECT_EQ(audio->Rect->GetRect(), TBasisKonstanten::kRect);
  EXPECT_EQ(audio->ViewRect->GetRect(), TBasisKonstanten::kViewRect);
  EXPECT_EQ(audio->OutputList->Output("1")->Code(), kPortMonoOutputAnalog);
  EXPECT_EQ(frequency->OutputList->Output("1")->Code(), kPortMonoOutputFrequenz);
  EXPECT_TRUE(audio->IsMono());
  EXPECT_EQ(audio->GetWorkType(), 1);
  EXPECT_EQ(audio->ValueText(), "80");
  EXPECT_EQ(audio->LimitText(TLimit::Lower), "0");
  EXPECT_EQ(audio->LimitText(TLimit::Upper), "100");
  EXPECT_EQ(frequency->MinValue->value, 1024);
  EXPECT_EQ(frequency->Value->value, 1024);
  EXPECT_EQ(frequency->MaxValue->value, 5120000);
  EXPECT_EQ(audio->ShowInView->value, 1);
}

TEST(ConstantValue, TypedAndSliderValuesStayWithinTheLimits) {
  struct SCase {
    const char* type;
    const char* text;
    bool inside;
    std::int32_t value;
    const char* shown;
  };
  const SCase cases[] = {
      {"ConstAnalog", "150", false, 2049, "100"},
      {"ConstAnalog", "-3", false, 0, "0"},
      {"ConstAnalog", "50", true, 1024, "50"},
      {"ConstFrequenz", "440", true, 450560, "  440"},
      {"ConstFrequenz", "0.5", false, 1024, "1.00"},
  };
  for (const auto& c : cases) {
    const auto constant = NewConstant(c.type);
    EXPECT_EQ(constant->TypeValue(c.text), c.inside) << c.type << ' ' << c.text;
    EXPECT_EQ(constant->Value->value, c.value) << c.type << ' ' << c.text;
    EXPECT_EQ(constant->ValueText(), c.shown) << c.type << ' ' << c.text;
  }

  const auto audio = NewConstant("ConstAnalog");
  EXPECT_EQ(audio->SliderPosition(), 80);
  EXPECT_EQ(audio->ValueAtSlider(50), 1024);
  EXPECT_EQ(audio->ValueAtSlider(0), 0);
  EXPECT_EQ(audio->ValueAtSlider(100), 2049);
  audio->MoveSlider(50);
  EXPECT_EQ(audio->Value->value, 1024);
  EXPECT_EQ(audio->SliderPosition(), 50);
}

TEST(ConstantFile, LimitsAHandEditedFileBrokeAreRepairedOnReading) {
  struct SCase {
    const char* text;
    std::int32_t min, value, max;
  };
  const SCase cases[] = {
      {"MinValue 3000\nMaxValue 100\nValue 5\nEND\n", 0, 5, 2049},
      {"MinValue 100\nMaxValue 100\nValue 7000\nEND\n", 0, 2049, 2049},
      {"MinValue -2147483648\nMaxValue 2147483647\nValue -2147483648\nEND\n", -2147483647 - 1,
       -2147483647 - 1, 2147483647},
      {"MinValue 10\nMaxValue 20\nValue 30\nEND\n", 10, 20, 20},
  };
  for (const auto& c : cases) {
    const auto constant = NewConstant("ConstAnalog");
    std::istringstream in(c.text);
    ASSERT_TRUE(constant->Read(in));
    EXPECT_EQ(constant->MinValue->value, c.min) << c.text;
    EXPECT_EQ(constant->Value->value, c.value) << c.text;
    EXPECT_EQ(constant->MaxValue->value, c.max) << c.text;
    EXPECT_GE(constant->SliderPosition(), 0);
    EXPECT_LE(constant->SliderPosition(), 100);
    constant->MoveSlider(37);
    EXPECT_GE(constant->Value->value, constant->MinValue->value);
  }
}

TEST(ConstantDialog, RefusesBadLimitsWithTheirMessagesAndChangesNothing) {
  struct SCase {
    const char* type;
    const char* lower;
    const char* upper;
    const char* message;
  };
  const SCase cases[] = {
      {"ConstAnalog", "-1000", "100", "Min value to low !"},
      {"ConstFrequenz", "0", "5000", "Min value to low !"},
      {"ConstAnalog", "0", "1000", "Max value to high !"},
      {"ConstFrequenz", "1", "5001", "Max value to high !"},
      {"ConstAnalog", "50", "40", "Max value must be higher then Min value !"},
      {"ConstAnalog", "50", "50", "Max value must be different from Min value !"},
      // Different on screen, one raw value: would leave nothing to divide by.
      {"ConstFrequenz", "0.010", "0.0105", "Max value must be different from Min value !"},
  };
  for (const auto& c : cases) {
    const auto constant = NewConstant(c.type);
    const SKonstantenDialog before = constant->DialogValues();
    EXPECT_EQ(constant->AcceptDialog({" Renamed", c.lower, c.upper, false}), c.message)
        << c.type << ' ' << c.lower << ' ' << c.upper;
    const SKonstantenDialog after = constant->DialogValues();
    EXPECT_EQ(after.name, before.name);
    EXPECT_EQ(after.lower, before.lower);
    EXPECT_EQ(after.upper, before.upper);
    EXPECT_TRUE(after.visibleInPanel);
  }
}

TEST_F(ConstantSound, NarrowingTheLimitsPullsTheValueAndMarksTheSound) {
  TBasisKonstanten& constant = AddConstant("ConstAnalog");
  const SKonstantenDialog opened = constant.DialogValues();
  EXPECT_EQ(opened.name, " Fader audio");
  EXPECT_EQ(opened.lower, "0");
  EXPECT_EQ(opened.upper, "100");
  EXPECT_TRUE(opened.visibleInPanel);

  EXPECT_EQ(constant.AcceptDialog({" Level", "10", "50", true}), "");
  EXPECT_EQ(constant.MinValue->value, 204);
  EXPECT_EQ(constant.MaxValue->value, 1024);
  EXPECT_EQ(constant.Value->value, 1024);
  EXPECT_EQ(constant.Title->value, " Level");
  EXPECT_TRUE(document.IsModified());
}

TEST(ConstantEngine, TheValueReachesTheEngineAtStartAndAtOnceWhilePlaying) {
  struct SCase {
    const char* type;
    int probeCode;
    std::int32_t initial;
    std::int32_t changed;
  };
  const SCase cases[] = {
      {"ConstAnalog", kPortMonoInputAnalog, 1639, 1000},
      {"ConstFrequenz", kPortMonoInputFrequenz, 1024, 450560},
  };
  for (const auto& c : cases) {
    TDokumentKlang sound;
    TBasisKonstanten& held = Place(*sound.ModuleList, "C", NewConstant(c.type));
    auto& probe = Place(*sound.ModuleList, "P", std::make_shared<TProbe>(c.probeCode));
    probe.InputList->Input("1")->Connect(held.OutputList->Output("1"), false);
    sound.RevalidatePatch();

    TOfflineRunner runner(sound.Engine());
    ASSERT_EQ(runner.Start(), TKlangEngine::kStarted);
    runner.Run(10);
    ASSERT_NE(probe.input, nullptr);
    EXPECT_EQ(*probe.input, c.initial) << c.type;
    held.ChangeValue(c.changed);
    EXPECT_EQ(*probe.input, c.changed) << c.type;
    runner.Stop();

    held.ChangeValue(c.initial);
    ASSERT_EQ(runner.Start(), TKlangEngine::kStarted);
    EXPECT_EQ(*probe.input, c.initial) << c.type;
    runner.Stop();
  }
}

TEST_F(ConstantSound, AnEditableViewShowsAFaderThatSharesTheViewRect) {
  TBasisKonstanten& constant = AddConstant("ConstAnalog");
  constant.ViewRect->Set(200, 10, 273, 160);
  ShowWindow();
  EXPECT_EQ(constant.Rect->GetRect().bottom, constant.Rect->GetRect().top + 57);

  TModulSchieber* fader = FaderItem();
  ASSERT_NE(fader, nullptr);
  EXPECT_EQ(fader->typeName, "ViewFader");
  EXPECT_TRUE(fader->IsShown());
  EXPECT_EQ(fader->Rect.get(), constant.ViewRect.get());
  EXPECT_EQ(constant.Get("ViewRect").get(), constant.ViewRect.get());
  EXPECT_EQ(fader->Rect->GetRect(), (TRect{200, 10, 273, 160}));
  EXPECT_EQ(fader->Position(), 80);
  EXPECT_EQ(fader->ValueText(), "80");
  EXPECT_EQ(fader->UpperText(), "100");
  EXPECT_EQ(fader->LowerText(), "0");
  EXPECT_EQ(fader->Title->value, " Fader audio");

  fader->Rect->MoveTo(300, 40);
  EXPECT_EQ(constant.ViewRect->GetRect(), (TRect{300, 40, 373, 190}));

  // Unticking "Visible in Panel" removes the fader; ticking it again brings it back where the
  // constant keeps its rectangle.
  ASSERT_EQ(constant.AcceptDialog({" Fader audio", "0", "100", false}), "");
  EXPECT_FALSE(PanelList().Has("C"));
  EXPECT_EQ(constant.ShowInView->value, 0);
  constant.ViewRect->MoveTo(50, 60);
  ASSERT_EQ(constant.AcceptDialog({" Fader audio", "0", "100", true}), "");
  ASSERT_NE(FaderItem(), nullptr);
  EXPECT_EQ(FaderItem()->Rect->GetRect(), (TRect{50, 60, 123, 210}));

  // Closing the window takes the fader down with the constant's view.
  document.ModuleList->SetView(nullptr, kPanelWindowClosing);
  EXPECT_FALSE(PanelList().Has("C"));
}

TEST_F(ConstantSound, TheFaderAndTheConstantMoveTogether) {
  TBasisKonstanten& constant = AddConstant("ConstAnalog");
  ShowWindow();
  TModulSchieber& fader = *FaderItem();

  fader.SetPosition(50, true);
  fader.SetPosition(60, true);
  EXPECT_EQ(constant.Value->value, 1229);  // trunc(2049 - 0.4 * 2049)
  EXPECT_EQ(fader.ValueText(), "60");
  fader.SetPosition(5, true);
  fader.SetPosition(5 - 10, true);
  EXPECT_EQ(fader.Position(), 0);
  EXPECT_EQ(constant.Value->value, 0);

  constant.MoveSlider(70);
  EXPECT_EQ(fader.Position(), 70);
  EXPECT_EQ(fader.ValueText(), constant.ValueText());
  constant.TypeValue("150");
  EXPECT_EQ(fader.Position(), 100);
  EXPECT_EQ(fader.ValueText(), "100");

  ASSERT_EQ(constant.AcceptDialog({" Volume", "0", "50", true}), "");
  EXPECT_EQ(fader.Title->value, " Volume");
  EXPECT_EQ(fader.UpperText(), "50");
}

TEST_F(ConstantSound, DeletingTheConstantRemovesItsFaderAndUndoBringsItBack) {
  AddConstant("ConstAnalog");
  ShowWindow();
  ASSERT_NE(FaderItem(), nullptr);
  document.ModuleList->ExecuteCommand(kCommandSelectAll);
  document.ModuleList->ExecuteCommand(kCommandDelete);
  EXPECT_FALSE(document.ModuleList->Has("C"));
  EXPECT_FALSE(PanelList().Has("C"));
  document.ModuleList->ExecuteCommand(kCommandUndo);
  ASSERT_NE(FaderItem(), nullptr);
  auto& restored = dynamic_cast<TBasisKonstanten&>(*document.ModuleList->Get("C"));
  EXPECT_EQ(FaderItem()->Rect.get(), restored.ViewRect.get());
}

TEST_F(ConstantSound, ASavedFaderIsTakenOverWhenTheSoundOpensAgain) {
  TBasisKonstanten& constant = AddConstant("ConstFrequenz");
  ShowWindow();
  FaderItem()->Rect->MoveTo(120, 30);
  std::ostringstream saved;
  document.WriteSound(saved);

  TDokumentKlang reopened;
  std::istringstream in(saved.str());
  ASSERT_TRUE(reopened.Read(in));
  THeadlessCanvas panel, structure;
  reopened.ViewSound->ModuleList->SetView(&panel, kPanelEditable);
  reopened.ModuleList->SetView(&structure, kPanelEditable);
  auto& again = dynamic_cast<TBasisKonstanten&>(*reopened.ModuleList->Get("C"));
  auto* fader = dynamic_cast<TModulSchieber*>(reopened.ViewSound->ModuleList->Get("C").get());
  ASSERT_NE(fader, nullptr);
  EXPECT_EQ(reopened.ViewSound->ModuleList->Children().size(), 1u);
  EXPECT_EQ(fader->Rect.get(), again.ViewRect.get());
  EXPECT_EQ(fader->Rect->GetRect(), constant.ViewRect->GetRect());
  EXPECT_EQ(fader->ValueText(), "1.00");
}

}  // namespace
