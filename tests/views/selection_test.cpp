// Selecting with the rubber band and deleting with the title bar's button.
#include "tests/views/canvas_fixture.h"

#include "views/canvas_geometry.h"

namespace {

class SelectionTest : public CanvasTest {
 protected:
  SelectionTest() {
    for (int i = 0; i < 3; ++i)
      Add("ConstAnalog", "c" + std::to_string(i), 20 + 160 * i, 40);
  }
  std::vector<std::string> Marked() const {
    std::vector<std::string> keys;
    for (const auto& [key, child] : list.Children()) {
      if (dynamic_cast<TModul&>(*child).IsMarked()) keys.push_back(key);
    }
    return keys;
  }
  // The delete button of a module, in scene points.
  static QRectF DeleteButton(const TModul& module) {
    const TRect r = module.Rect->GetRect();
    return QRectF(DeleteButtonRect(r.right - r.left)).translated(r.left, r.top);
  }
};

TEST_F(SelectionTest, BandFromBottomRightEqualsBandFromTopLeft) {
  Drag(QPointF(10, 30), QPointF(320, 110));
  const std::vector<std::string> forwards = Marked();
  EXPECT_EQ(forwards, (std::vector<std::string>{"c0", "c1"}));
  list.ExecuteCommand(kCommandSelectAll);
  Drag(QPointF(320, 110), QPointF(10, 30));
  EXPECT_EQ(Marked(), forwards);
  EXPECT_EQ(view.Scene().CursorNumber(), 0);
}

TEST_F(SelectionTest, ShiftKeepsEarlierMarks) {
  Drag(QPointF(10, 30), QPointF(170, 110));
  Drag(QPointF(330, 30), QPointF(490, 110), Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(Marked(), (std::vector<std::string>{"c0", "c2"}));
  Drag(QPointF(330, 30), QPointF(490, 110));
  EXPECT_EQ(Marked(), (std::vector<std::string>{"c2"}));
}

TEST_F(SelectionTest, DeleteButtonActsOnlyOnAReleaseInsideIt) {
  const QRectF button = DeleteButton(dynamic_cast<TModul&>(*list.Get("c1")));
  Press(button.center());
  Release(button.center() + QPointF(button.width(), 0));
  FinishEvents();
  EXPECT_EQ(list.Children().size(), 3u);
  EXPECT_EQ(list.ActionManager.UndoCount(), 0);

  Press(button.center());
  Release(button.center());
  FinishEvents();
  EXPECT_EQ(list.Get("c1"), nullptr);
  EXPECT_EQ(list.ActionManager.UndoText(), "Undo delete modules");
  list.ExecuteCommand(kCommandUndo);
  FinishEvents();
  EXPECT_NE(list.Get("c1"), nullptr);
}

}  // namespace
