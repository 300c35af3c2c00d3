// Moving modules by their title bars: snapping to the grid and the clamp at the canvas edge, as
// one undo step per drag.
#include "tests/views/canvas_fixture.h"
#include "views/wire_item.h"

namespace {

class MovingTest : public CanvasTest {
 protected:
  // A press on the title bar, a move and the release, `grip` points right of the left edge.
  void DragTitle(TModul& module, QPointF by) {
    const QPointF grip(module.Rect->left->value + 20, module.Rect->top->value + 7);
    Press(grip);
    MoveTo(grip + by);
    Release(grip + by);
  }
};

TEST_F(MovingTest, TitleDragSnapsToTheNearestGridPointWithTiesGoingDown) {
  const std::pair<int, int> cases[] = {{13, 10}, {15, 10}, {16, 20}};
  for (const auto& [from, to] : cases) {
    ViewOptions().snapToGrid = false;
    TModul& module = Add("ConstAnalog", "c" + std::to_string(from), from, 40);
    ViewOptions().snapToGrid = true;
    DragTitle(module, QPointF(0, 0));
    EXPECT_EQ(module.Rect->left->value, to) << "from x " << from;
    EXPECT_EQ(module.Rect->top->value, 40);
  }
  EXPECT_EQ(list.ActionManager.UndoText(), "Undo move modules");
}

TEST_F(MovingTest, DragStopsAtTheLeftAndTopEdges) {
  TModul& module = Add("ConstAnalog", "c", 30, 30);
  DragTitle(module, QPointF(-100, -100));
  EXPECT_EQ(module.Rect->left->value, 0);
  EXPECT_EQ(module.Rect->top->value, 0);
  list.ExecuteCommand(kCommandUndo);
  EXPECT_EQ(module.Rect->left->value, 30);
}

TEST_F(MovingTest, ZoomChangesNoRectangle) {
  TModul& module = Add("ConstAnalog", "c", 30, 30);
  const TRect before = module.Rect->GetRect();
  view.SetZoom(3);
  view.ZoomBy(10);
  EXPECT_EQ(view.Zoom(), 4);
  view.FitAll();
  view.SetZoom(0.01);
  EXPECT_EQ(view.Zoom(), 0.25);
  EXPECT_EQ(module.Rect->GetRect(), before);
  view.SetZoom(2);
  DragTitle(module, QPointF(20, 0));
  EXPECT_EQ(module.Rect->left->value, 50);
}

// The wire item at an input ends at the connection points of the model, on both of its ends,
// after the module at either end has moved; wires elsewhere keep their path.
TEST_F(MovingTest, WiresFollowTheDraggedModuleOnly) {
  TModulArbeiten& source = Add("ConstAnalog", "source", 20, 20);
  TModulArbeiten& sink = Add("MonoLoudness", "sink", 300, 20);
  TModulArbeiten& other = Add("ConstAnalog", "other", 20, 200);
  TModulArbeiten& otherSink = Add("MonoLoudness", "otherSink", 300, 200);
  Input(sink, "1").Connect(&Output(source, "1"), false);
  Input(otherSink, "1").Connect(&Output(other, "1"), false);
  const auto ends = [this](const std::string& module) {
    const TWireItem* wire = view.Scene().WireInto(module, "1");
    EXPECT_NE(wire, nullptr) << module;
    const QPolygonF& line = wire->Line();
    return std::pair(line.last(), line.first());
  };
  const auto modelEnds = [](TEingang& input) {
    const auto centre = [](TPoint p) { return QPointF(p.x + 0.5, p.y + 0.5); };
    return std::pair(centre(input.GetSource()->ConnectionPoint()), centre(input.ConnectionPoint()));
  };
  const auto untouched = ends("otherSink");
  for (TModulArbeiten* moved : {&source, &sink}) {
    DragTitle(*moved, QPointF(40, 30));
    EXPECT_EQ(ends("sink"), modelEnds(Input(sink, "1")));
    EXPECT_EQ(ends("otherSink"), untouched);
  }
}

}  // namespace
