// The Edit menu and its tool buttons act on the front page's list and follow its state.
#include <QTest>
#include <QToolButton>

#include "app/sound_window.h"
#include "main_frame_fixture.h"
#include "patch/module_list.h"

namespace {

class EditActionsTest : public MainFrameTest {
 protected:
  void SetUp() override { frame.Session().OpenFile(Example("poly_synth.zmr")); }
  QAction& Edit(int code) { return *frame.Actions().Edit[code]; }
  // Drags the first module's title bar 40 points to the right.
  void MoveFirstModule() {
    TModuleListe& list = *Document().ModuleList;
    TModul& module = FirstModule();
    list.BeginTitleDrag(module, false, 20, 7);
    list.TitleDrag(module, 60, 7);
    list.EndTitleDrag(module);
  }
  int FirstLeft() { return FirstModule().Rect->left->value; }
};

TEST_F(EditActionsTest, EnabledStatesAndHintsFollowSelectionUndoAndRedo) {
  frame.SoundWindow()->Pages().setCurrentIndex(1);
  EXPECT_FALSE(Edit(kCommandUndo).isEnabled());
  EXPECT_FALSE(Edit(kCommandRedo).isEnabled());
  EXPECT_FALSE(Edit(kCommandCut).isEnabled());
  EXPECT_FALSE(Edit(kCommandAlignGrid).isEnabled());
  EXPECT_TRUE(Edit(kCommandSelectAll).isEnabled());
  Edit(kCommandSelectAll).trigger();
  EXPECT_TRUE(Edit(kCommandCut).isEnabled());
  EXPECT_TRUE(Edit(kCommandCopy).isEnabled());
  EXPECT_TRUE(Edit(kCommandDelete).isEnabled());
  EXPECT_TRUE(Edit(kCommandAlignLeft).isEnabled());
  Document().ModuleList->UnmarkAll();
  MoveFirstModule();
  EXPECT_TRUE(Edit(kCommandUndo).isEnabled());
  EXPECT_EQ(Edit(kCommandUndo).statusTip(), "Undo move modules");
  EXPECT_TRUE(Edit(kCommandAlignGrid).isEnabled()) << "the moved module is selected";
  EXPECT_FALSE(Edit(kCommandAlignLeft).isEnabled()) << "aligning needs two";
  Edit(kCommandUndo).trigger();
  EXPECT_FALSE(Edit(kCommandUndo).isEnabled());
  EXPECT_TRUE(Edit(kCommandRedo).isEnabled());
  EXPECT_EQ(Edit(kCommandRedo).statusTip(), "Redo move modules");
}

TEST_F(EditActionsTest, MoveUndoAndRedoGiveTheSameResultByMenuToolBarAndShortcut) {
  frame.SoundWindow()->Pages().setCurrentIndex(1);
  frame.show();
  QApplication::setActiveWindow(&frame);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  const int start = FirstLeft();
  MoveFirstModule();
  const int moved = FirstLeft();
  ASSERT_NE(moved, start);
  QToolBar* edit = frame.Actions().ToolBars[1];
  const auto button = [&](int code) {
    return static_cast<QToolButton*>(edit->widgetForAction(&Edit(code)));
  };
  struct SRoute {
    const char* name;
    std::function<void(int code)> run;
  };
  const SRoute routes[] = {
      {"menu", [&](int code) { Edit(code).trigger(); }},
      {"tool bar", [&](int code) { QTest::mouseClick(button(code), Qt::LeftButton); }},
      {"shortcut",
       [&](int code) {
         QTest::keyClick(
             &frame, Qt::Key_Z,
             code == kCommandUndo ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
       }},
  };
  for (const SRoute& route : routes) {
    route.run(kCommandUndo);
    EXPECT_EQ(FirstLeft(), start) << route.name;
    route.run(kCommandRedo);
    EXPECT_EQ(FirstLeft(), moved) << route.name;
  }
}

}  // namespace
