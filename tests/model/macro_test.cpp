#include <gtest/gtest.h>

#include "model_fixture.h"
#include "patch/macro_modules.h"
#include "platform/message_box.h"
#include "platform/options.h"
#include "support/recording_presenter.h"

namespace {

class Macro : public ::testing::Test {
 protected:
  void SetUp() override {
    ViewOptions() = SViewOptions();
    macro.Inside->SetView(&groupWindow, kPanelEditable);
  }
  TModulGrenze& Drop(const char* typeName, int x) {
    macro.Inside->CreateModuleAt(typeName, "", x, 20, false);
    return *dynamic_cast<TModulGrenze*>(macro.Inside->Get(LastKey(typeName)).get());
  }
  // The newest key made from `base` (base, base1, base2, ...).
  std::string LastKey(const std::string& base) const {
    std::string last;
    for (const auto& [key, child] : macro.Inside->Children()) {
      if (key.rfind(base, 0) == 0) last = key;
    }
    return last;
  }

  TModuleListeArbeiten sound;
  TModulKomponent& macro = Place(sound, "Macro", std::make_shared<TModulKomponent>());
  TTestCanvas groupWindow;
};

TEST_F(Macro, InnerInputsAndOutputsGiveTheMacroPortsUnderTheirKeys) {
  TModulGrenze& input = Drop("ModulMInAnalog", 10);
  Drop("ModulMOutAnalog", 200);
  Drop("ModulMInAnalog", 10);
  ASSERT_NE(macro.InputList->Input("ModulMInAnalog"), nullptr);
  ASSERT_NE(macro.InputList->Input("ModulMInAnalog1"), nullptr);
  ASSERT_NE(macro.OutputList->Output("ModulMOutAnalog"), nullptr);
  EXPECT_EQ(macro.InputList->Input("ModulMInAnalog")->Title->value, " A");
  EXPECT_EQ(macro.InputList->Input("ModulMInAnalog")->Code(), kPortMonoInputAnalog);

  input.Title->value = "Cutoff";
  input.SyncOuterPort();
  EXPECT_EQ(macro.InputList->Input("ModulMInAnalog")->Title->value, "Cu");
}

TEST_F(Macro, WiringAnInnerInputStraightToAnInnerOutputIsRefused) {
  TRecordingPresenter presenter;
  SetMessagePresenter(&presenter);
  TModulGrenze& input = Drop("ModulMInAnalog", 10);
  TModulGrenze& output = Drop("ModulMOutAnalog", 200);
  EXPECT_FALSE(input.CanConnect(Out(input), In(output)));
  EXPECT_FALSE(output.CanConnect(In(output), Out(input)));
  SetMessagePresenter(nullptr);
  ASSERT_EQ(presenter.shown.size(), 2u);
  EXPECT_EQ(presenter.shown[0].caption, "Info Connection");
  EXPECT_EQ(presenter.shown[0].text,
            "No direct connections allowed between Input and Output Modules");
}

TEST_F(Macro, ClosingTheWindowKeepsOuterPortsAndDeletingTheModuleRemovesItsPort) {
  auto& source = Place(sound, "Src", Generator());
  Drop("ModulMInAnalog", 10);
  In(macro, "ModulMInAnalog").Connect(&Out(source), false);
  macro.Inside->SetView(nullptr, kPanelWindowClosing);
  macro.Inside->SetView(&groupWindow, kPanelEditable);
  ASSERT_NE(macro.InputList->Input("ModulMInAnalog"), nullptr);
  EXPECT_EQ(In(macro, "ModulMInAnalog").GetSource(), &Out(source));

  dynamic_cast<TModul&>(*macro.Inside->Get("ModulMInAnalog")).SetMarked(true);
  macro.Inside->ExecuteCommand(kCommandDelete);
  EXPECT_EQ(macro.InputList->Input("ModulMInAnalog"), nullptr);
  macro.Inside->ExecuteCommand(kCommandUndo);
  EXPECT_NE(macro.InputList->Input("ModulMInAnalog"), nullptr);
}

TEST(MacroInSound, TheSoundRefusesInnerInputAndOutputTypes) {
  TDokumentKlang document;
  bool queryOnly = true;
  document.ModuleList->childFactory.Call("ModulMInAnalog", queryOnly);
  EXPECT_FALSE(queryOnly);
  queryOnly = true;
  document.ModuleList->childFactory.Call("Modul", queryOnly);
  EXPECT_TRUE(queryOnly);
}

// A macro "Loop" in a sound whose output feeds a sink and, from outside, its own input; inside,
// the input reaches the output either straight or through `inner` modules.
class MacroLoop : public ::testing::Test {
 protected:
  MacroLoop() {
    macro.InputList->AddPort(kPortMonoInputAnalog, "In");
    macro.OutputList->AddPort(kPortMonoOutputAnalog, "Out");
    In(macro, "In").Connect(&Out(macro, "Out"), false);
    In(sink).Connect(&Out(macro, "Out"), false);
  }
  TModulArbeiten& Boundary(const std::string& key, const char* typeName) {
    bool queryOnly = false;
    auto module =
        std::dynamic_pointer_cast<TModulArbeiten>(CreateModuleByType(typeName, queryOnly));
    return Place(*macro.Inside, key, module);
  }

  TDokumentKlang document;
  TModulKomponent& macro = Place(*document.ModuleList, "Loop", std::make_shared<TModulKomponent>());
  TTestModule& sink = Place(*document.ModuleList, "Sink", Sink());
  TModulArbeiten& input = Boundary("In", "ModulMInAnalog");
  TModulArbeiten& output = Boundary("Out", "ModulMOutAnalog");
};

TEST_F(MacroLoop, ALoopThatOnlyCrossesBoundariesIsAnOpenChain) {
  In(output).Connect(&Out(input), false);
  document.RevalidatePatch();
  EXPECT_FALSE(sink.IsActive(nullptr));
  EXPECT_FALSE(output.IsActive(nullptr));
  EXPECT_EQ(TModulArbeiten::ProducingOutput(Out(macro, "Out")), nullptr);
}

TEST_F(MacroLoop, ALoopThroughAModuleInsideIsFeedbackAndActivates) {
  TTestModule& echo = Place(*macro.Inside, "Echo", Processor(1));
  In(echo).Connect(&Out(input), false);
  In(output).Connect(&Out(echo), false);
  document.RevalidatePatch();
  EXPECT_TRUE(sink.IsActive(nullptr));
  EXPECT_TRUE(echo.IsActive(nullptr));
  EXPECT_EQ(TModulArbeiten::ProducingOutput(Out(macro, "Out")), &Out(echo));
}

}  // namespace
