// Every registered module kind on a canvas: drawn, dragged, wired where it has ports, deleted
// and brought back by undo. The macro input and output kinds live inside a macro, shown on a
// canvas of its own beside the sound's.
#include "tests/views/canvas_fixture.h"

#include <set>

#include "modules/catalogue.h"
#include "patch/macro_modules.h"
#include "patch/module_registry.h"

namespace {

// Every kind the program knows: the catalogue's and the macro kinds of the model itself. The
// kinds are gathered before the test context installs the catalogue into the registry.
std::vector<std::string> EveryKind() {
  std::set<std::string> names;
  for (const auto& [name, factory] : ModuleCatalogue())
    names.insert(name);
  for (const std::string& name : RegisteredTypeNames())
    names.insert(name);
  return {names.begin(), names.end()};
}

class SweepTest : public CanvasTest, public ::testing::WithParamInterface<std::string> {
 protected:
  SweepTest()
      : source(Add("ConstAnalog", "source", 10, 300)), sink(Add("VolumeWork", "sink", 500, 300)) {}

  // Wires the first input and the first output of `module` where the kinds fit.
  void WireUp(TModulArbeiten& module) {
    if (module.InputList->Count() > 0) {
      Drag(Middle(Output(source, "1")),
           Middle(dynamic_cast<TEinAusgang&>(*module.InputList->Children().begin()->second)));
    }
    if (module.OutputList->Count() > 0) {
      Drag(Middle(dynamic_cast<TEinAusgang&>(*module.OutputList->Children().begin()->second)),
           Middle(Input(sink, "1")));
    }
  }

  TModulArbeiten& source;
  TModulArbeiten& sink;
};

TEST_P(SweepTest, DrawnDraggedWiredDeletedAndRestored) {
  const std::string& type = GetParam();
  TModuleListeArbeiten* home = &list;
  TModuleCanvasView inside;
  if (IsMacroPortType(type)) {
    auto& macro = dynamic_cast<TModulKomponent&>(Add("Modul", "macro", 200, 100));
    home = macro.Inside.get();
    inside.resize(400, 300);
    inside.Show(home);
  }
  home->CreateModuleAt(type, "probe", 150, 150, false);
  auto* module = dynamic_cast<TModul*>(home->Get("probe").get());
  ASSERT_NE(module, nullptr);
  EXPECT_FALSE(Grab().isNull());
  if (home == &list) {
    const QPointF grip(module->Rect->left->value + 10, module->Rect->top->value + 7);
    Drag(grip, grip + QPointF(37, 23));
    if (auto* working = dynamic_cast<TModulArbeiten*>(module)) WireUp(*working);
  }
  module->SelectOnly();
  home->ExecuteCommand(kCommandDelete);
  FinishEvents();
  EXPECT_EQ(home->Get("probe"), nullptr);
  home->ExecuteCommand(kCommandUndo);
  EXPECT_NE(home->Get("probe"), nullptr);
  EXPECT_FALSE(Grab().isNull());
  inside.Show(nullptr);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SweepTest, ::testing::ValuesIn(EveryKind()),
                         [](const auto& info) { return info.param; });

}  // namespace
