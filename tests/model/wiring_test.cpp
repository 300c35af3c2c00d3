#include <gtest/gtest.h>

#include "model_fixture.h"

namespace {

TEST(Wiring, CompatibilityIsTheSameSeenFromEitherEnd) {
  // Rows and columns in code order: IMA IPA OMA OPA IMF IPF OMF OPF IM OM.
  const char* kTable[kPortCodeCount] = {
      "..x.......",  // IMA: mono audio output
      "..xx......",  // IPA: mono and poly audio outputs
      "xx........",  // OMA: mono and poly audio inputs
      ".x........",  // OPA: poly audio input
      "......x...",  // IMF
      "......xx..",  // IPF
      "....xx....",  // OMF
      ".....x....",  // OPF
      ".........x",  // IM
      "........x.",  // OM
  };
  for (int a = 0; a < kPortCodeCount; ++a) {
    for (int b = 0; b < kPortCodeCount; ++b) {
      EXPECT_EQ(PortsCompatible(a, b), kTable[a][b] == 'x') << a << " with " << b;
    }
  }
}

class WiringList : public ::testing::Test {
 protected:
  TDokumentKlang document;
  TModuleListe& list = *document.ModuleList;
  TTestModule& first = Place(list, "First", Generator());
  TTestModule& second = Place(list, "Second", Generator());
  TTestModule& target = Place(list, "Target", Processor(3));
};

TEST_F(WiringList, RewiringAnInputIsOneUndoStep) {
  list.ActionManager.RecordAction(In(target).Connect(&Out(first), true));
  list.ActionManager.RecordAction(In(target).Connect(&Out(second), true));
  EXPECT_EQ(In(target).GetSource(), &Out(second));
  EXPECT_EQ(list.ActionManager.UndoText(), "Undo connect module");
  list.ActionManager.Undo();
  EXPECT_EQ(In(target).GetSource(), &Out(first));
  list.ActionManager.Undo();
  EXPECT_TRUE(In(target).IsFree());
}

TEST_F(WiringList, WiringAnInputToItsSourceAgainRemovesTheWire) {
  In(target).Connect(&Out(first), false);
  EXPECT_TRUE(Out(first).IsConnectedTo(In(target)));
  const TRPointerAction removal = In(target).Connect(&Out(first), true);
  EXPECT_TRUE(In(target).IsFree());
  ASSERT_NE(removal, nullptr);
  EXPECT_EQ(removal->Name(), "disconnect module");
}

TEST_F(WiringList, DraggingFromTheOutputGivesTheSameWire) {
  Out(first).Connect(&In(target, "2"), false);
  EXPECT_EQ(In(target, "2").ModuleName->value, "First");
  EXPECT_EQ(In(target, "2").Other->value, "1");
}

TEST_F(WiringList, RemovingAllWiresOfAnOutputIsOneStepNamedConnectModule) {
  for (const char* key : {"1", "2", "3"})
    In(target, key).Connect(&Out(first), false);
  EXPECT_EQ(Out(first).FedInputs().size(), 3u);
  list.ActionManager.RecordAction(Out(first).Connect(nullptr, true));
  EXPECT_TRUE(Out(first).FedInputs().empty());
  EXPECT_EQ(list.ActionManager.UndoText(), "Undo connect module");
  list.ActionManager.Undo();
  EXPECT_EQ(Out(first).FedInputs().size(), 3u);
}

TEST_F(WiringList, PastingDropsWiresFromModulesThatWereNotPasted) {
  In(target, "1").Connect(&Out(first), false);
  In(target, "2").Connect(&Out(second), false);
  TPropTypList pasted;
  ShareChild(list, pasted, "Target");
  ShareChild(list, pasted, "Second");
  list.Remove("First");
  pasted.Broadcast(6, 0, nullptr);
  EXPECT_TRUE(In(target, "1").ModuleName->value.empty());
  EXPECT_EQ(In(target, "2").GetSource(), &Out(second));
}

TEST(WireGeometry, ConnectionPointsAndPaths) {
  TTestModule module(1, true, false);
  module.Rect->SetRect({100, 50, 188, 101});
  const TPoint input = In(module).ConnectionPoint();
  const TPoint output = Out(module).ConnectionPoint();
  EXPECT_EQ(input.x, 100);
  EXPECT_EQ(output.x, 100 + 61 + 25);
  EXPECT_EQ(input.y, 50 + In(module).Rect->top->value + 7);

  EXPECT_EQ(WirePath({10, 20}, {100, 60}, true),
            (std::vector<TPoint>{{100, 60}, {95, 60}, {15, 20}, {10, 20}}));
  EXPECT_EQ(WirePath({10, 20}, {100, 20}, false),
            (std::vector<TPoint>{{100, 20}, {55, 20}, {55, 20}, {10, 20}}));
}

TEST(PortList, LayoutAndKeys) {
  TTestModule module(3, false, false);
  EXPECT_EQ(module.InputList->Ports().size(), 3u);
  module.InputList->Remove("2");
  EXPECT_EQ(module.InputList->UniqueKey(""), "2");

  TTestModule adder(11, true, false);
  std::vector<std::string> order;
  for (TEinAusgang* port : adder.InputList->Ports())
    order.push_back(port->Key());
  EXPECT_EQ(order.front(), "1");
  EXPECT_EQ(order[1], "10");
  EXPECT_EQ(order[3], "2");
  EXPECT_EQ(Out(adder).Rect->left->value, 61);

  TTestModule two(2, false, false);
  EXPECT_EQ(In(two, "1").Rect->top->value, 16);
  EXPECT_EQ(In(two, "2").Rect->top->value, 33);
}

}  // namespace
