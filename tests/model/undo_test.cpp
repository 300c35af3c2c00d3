#include <gtest/gtest.h>

#include "model_fixture.h"
#include "patch/module_actions.h"
#include "patch/port_actions.h"

namespace {

// An action that logs its executions; its inverse logs with a "-" in front.
class TLogAction : public TWAction {
 public:
  TLogAction(std::string name, std::vector<std::string>& log, bool succeeds = true)
      : name_(std::move(name)), log_(log), succeeds_(succeeds) {}
  bool Execute() override {
    log_.push_back(name_);
    return succeeds_;
  }
  TRPointerAction CreateInverse() const override {
    const std::string inverse = name_[0] == '-' ? name_.substr(1) : "-" + name_;
    return std::make_shared<TLogAction>(inverse, log_, succeeds_);
  }
  std::string Name() const override { return name_; }

 private:
  std::string name_;
  std::vector<std::string>& log_;
  bool succeeds_;
};

TEST(ActionManager, UndoAndRedoWalkBothHistories) {
  std::vector<std::string> log;
  TActionManager manager;
  int changes = 0;
  manager.changeCallback = TAMsgStandardCallback([&changes] { return ++changes; });
  manager.Undo();
  EXPECT_EQ(manager.UndoText(), "Undo action");
  EXPECT_EQ(changes, 0);

  manager.RecordAction(std::make_shared<TLogAction>("A", log));
  manager.RecordAction(std::make_shared<TLogAction>("B", log));
  manager.Undo();
  manager.Undo();
  EXPECT_EQ(log, (std::vector<std::string>{"-B", "-A"}));
  EXPECT_EQ(manager.RedoText(), "Redo -A");
  EXPECT_EQ(manager.RedoCount(), 2);
  manager.Redo();
  manager.Redo();
  EXPECT_EQ(log, (std::vector<std::string>{"-B", "-A", "A", "B"}));
  EXPECT_EQ(manager.UndoText(), "Undo B");
  EXPECT_EQ(manager.UndoCount(), 2);
  EXPECT_EQ(changes, 6);

  manager.Undo();
  manager.RecordAction(std::make_shared<TLogAction>("C", log));
  EXPECT_EQ(manager.RedoCount(), 0);
  manager.ClearHistory();
  EXPECT_EQ(manager.UndoCount() + manager.RedoCount(), 0);
  EXPECT_EQ(changes, 8);
}

TEST(ActionManager, AMacroReversesItsPartsAndKeepsItsName) {
  std::vector<std::string> log;
  TActionManager manager;
  auto moves = std::make_shared<TMacroAction>("move modules");
  for (const char* part : {"1", "2", "3"})
    moves->Append(std::make_shared<TLogAction>(part, log));
  manager.RecordAction(moves);
  manager.Undo();
  EXPECT_EQ(log, (std::vector<std::string>{"-3", "-2", "-1"}));
  EXPECT_EQ(manager.RedoText(), "Redo move modules");
  manager.Redo();
  EXPECT_EQ(manager.UndoText(), "Undo move modules");
}

TEST(ActionManager, AnInverseThatFailsDropsTheEntry) {
  std::vector<std::string> log;
  TActionManager manager;
  auto failing = std::make_shared<TMacroAction>("m");
  failing->Append(std::make_shared<TLogAction>("x", log, false));
  EXPECT_TRUE(failing->Execute());
  EXPECT_TRUE(failing->IsEmpty());
  manager.RecordAction(std::make_shared<TLogAction>("y", log, false));
  manager.Undo();
  EXPECT_EQ(manager.UndoCount() + manager.RedoCount(), 0);
}

class Actions : public ::testing::Test {
 protected:
  TModuleListeArbeiten list;
  TTestCanvas canvas;
};

TEST_F(Actions, CreateChoosesAKeyThatRedoKeeps) {
  Place(list, "TestGenerator", Generator());
  auto create = std::make_shared<TActionCreateModul>(&list, "TestGenerator", "", 30, 40);
  ASSERT_TRUE(create->Execute());
  ASSERT_TRUE(list.Has("TestGenerator1"));
  list.ActionManager.RecordAction(create);
  list.ActionManager.Undo();
  EXPECT_FALSE(list.Has("TestGenerator1"));
  list.ActionManager.Redo();
  auto* again = dynamic_cast<TModul*>(list.Get("TestGenerator1").get());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Rect->GetRect(), (TRect{30, 40, 118, 91}));
}

TEST_F(Actions, AMoveRecordedWhileScrolledRestoresTheCanvasPosition) {
  list.SetView(&canvas, kPanelEditable);
  auto& module = Place(list, "M", Generator(), 10, 10);
  canvas.scroll = {100, 0};
  TActionMoveModul(&list, "M", 110, 10, 150, 10).Execute();
  EXPECT_EQ(module.Rect->left->value, 50);
  canvas.scroll = {0, 0};
  TActionMoveModul(&list, "M", 150, 10, 110, 10).Execute();
  EXPECT_EQ(module.Rect->left->value, 110);
}

TEST_F(Actions, DisconnectingAFreeInputSucceedsAndItsInverseConnects) {
  auto& source = Place(list, "S", Generator());
  auto& target = Place(list, "T", Processor(1));
  TActionUnterbrechenModul disconnect(&list, "T", "1", "S", "1");
  EXPECT_TRUE(disconnect.Execute());
  EXPECT_TRUE(disconnect.CreateInverse()->Execute());
  EXPECT_EQ(In(target).GetSource(), &Out(source));
  EXPECT_FALSE(TActionVerbindenModul(&list, "T", "1", "Gone", "1").Execute());
}

TEST_F(Actions, NewInputTakesTheNextNumberAndUndoRemovesIt) {
  auto& adder = Place(list, "Add", Processor(2));
  auto add = std::make_shared<TActionNeuerEingang>(&list, "Add", "IMA", "");
  ASSERT_TRUE(add->Execute());
  EXPECT_NE(adder.InputList->Input("3"), nullptr);
  list.ActionManager.RecordAction(add);
  list.ActionManager.Undo();
  EXPECT_EQ(adder.InputList->Input("3"), nullptr);
  list.ActionManager.Redo();
  EXPECT_NE(adder.InputList->Input("3"), nullptr);
}

}  // namespace
