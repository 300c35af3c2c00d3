#include <gtest/gtest.h>

#include "model_fixture.h"
#include "patch/macro_modules.h"
#include "patch/module_registry.h"

namespace {

bool AllActive(std::initializer_list<const TModulArbeiten*> modules, bool active) {
  for (const TModulArbeiten* module : modules) {
    if (module->IsActive(nullptr) != active) return false;
  }
  return true;
}

TRPointer<TModulArbeiten> Make(const std::string& typeName) {
  bool queryOnly = false;
  return std::dynamic_pointer_cast<TModulArbeiten>(CreateModuleByType(typeName, queryOnly));
}

TEST(Activation, AFreeInputKeepsTheChainInactiveUntilItIsWired) {
  TDokumentKlang document;
  TModuleListe& list = *document.ModuleList;
  auto& generator = Place(list, "Gen", Generator());
  auto& amplifier = Place(list, "Amp", Processor(2));
  auto& speaker = Place(list, "Spk", Sink());
  In(amplifier, "1").Connect(&Out(generator), false);
  In(speaker).Connect(&Out(amplifier), false);
  document.RevalidatePatch();
  EXPECT_TRUE(AllActive({&generator, &amplifier, &speaker}, false));

  In(amplifier, "2").Connect(&Out(generator), false);
  document.RevalidatePatch();
  EXPECT_TRUE(AllActive({&generator, &amplifier, &speaker}, true));
  std::vector<TEngineModule*> collected;
  document.CollectModules(1, collected);
  EXPECT_EQ(collected.size(), 3u);

  // A wire whose source was deleted counts as absent.
  list.Remove("Gen");
  EXPECT_TRUE(In(amplifier, "1").IsFree());
  document.RevalidatePatch();
  EXPECT_TRUE(AllActive({&amplifier, &speaker}, false));
}

TEST(Activation, AFeedbackLoopWithEveryInputWiredActivates) {
  TDokumentKlang document;
  TModuleListe& list = *document.ModuleList;
  auto& generator = Place(list, "Gen", Generator());
  auto& mixer = Place(list, "Mix", Processor(2));
  auto& echo = Place(list, "Echo", Processor(1));
  auto& speaker = Place(list, "Spk", Sink());
  In(mixer, "1").Connect(&Out(generator), false);
  In(mixer, "2").Connect(&Out(echo), false);
  In(echo).Connect(&Out(mixer), false);
  In(speaker).Connect(&Out(mixer), false);
  document.RevalidatePatch();
  EXPECT_TRUE(AllActive({&generator, &mixer, &echo, &speaker}, true));
}

TEST(Activation, AChainWithoutASinkStaysInactive) {
  TDokumentKlang document;
  TModuleListe& list = *document.ModuleList;
  auto& generator = Place(list, "Gen", Generator());
  auto& amplifier = Place(list, "Amp", Processor(1));
  In(amplifier).Connect(&Out(generator), false);
  document.RevalidatePatch();
  EXPECT_TRUE(AllActive({&generator, &amplifier}, false));
}

// gen -> [macro: in -> [inner macro: in -> amp -> out] -> out] -> speaker
TEST(Activation, AChainThroughNestedMacrosActivatesAsAWholeAndLinksAcrossTheBoundaries) {
  TDokumentKlang document;
  TModuleListe& list = *document.ModuleList;
  TTestCanvas outerWindow;
  TTestCanvas innerWindow;
  auto& generator = Place(list, "Gen", Generator());
  auto& speaker = Place(list, "Spk", Sink());
  auto& outer = Place(list, "Macro", std::make_shared<TModulKomponent>());
  auto& outerIn = Place(*outer.Inside, "In", Make("ModulMInAnalog"));
  auto& outerOut = Place(*outer.Inside, "Out", Make("ModulMOutAnalog"));
  auto& inner = Place(*outer.Inside, "Inner", std::make_shared<TModulKomponent>());
  auto& innerIn = Place(*inner.Inside, "In", Make("ModulMInAnalog"));
  auto& innerOut = Place(*inner.Inside, "Out", Make("ModulMOutAnalog"));
  auto& amplifier = Place(*inner.Inside, "Amp", Processor(1));
  // Opening the group windows gives each macro its outer ports.
  outer.Inside->SetView(&outerWindow, kPanelEditable);
  inner.Inside->SetView(&innerWindow, kPanelEditable);
  ASSERT_NE(outer.InputList->Input("In"), nullptr);
  ASSERT_NE(inner.OutputList->Output("Out"), nullptr);

  In(outer, "In").Connect(&Out(generator), false);
  In(speaker).Connect(&Out(outer, "Out"), false);
  In(inner, "In").Connect(&Out(outerIn), false);
  In(outerOut).Connect(&Out(inner, "Out"), false);
  In(amplifier).Connect(&Out(innerIn), false);
  document.RevalidatePatch();
  EXPECT_TRUE(AllActive({&generator, &speaker, &outerIn, &outerOut, &innerIn, &innerOut}, false));

  In(innerOut).Connect(&Out(amplifier), false);
  document.RevalidatePatch();
  EXPECT_TRUE(AllActive(
      {&generator, &speaker, &outerIn, &outerOut, &innerIn, &innerOut, &amplifier}, true));
  EXPECT_FALSE(outer.IsActive(nullptr));
  EXPECT_TRUE(outer.IsActive(&Out(outer, "Out")));

  const std::int32_t* speakerReads = nullptr;
  const std::int32_t* amplifierReads = nullptr;
  TBindArena arena;
  TBindContext context(document.Engine(), arena);
  speaker.LinkInput("1", 0, &speakerReads, context);
  amplifier.LinkInput("1", 0, &amplifierReads, context);
  EXPECT_EQ(speakerReads, &static_cast<TTestModule&>(amplifier).signal);
  EXPECT_EQ(amplifierReads, &static_cast<TTestModule&>(generator).signal);
}

}  // namespace
