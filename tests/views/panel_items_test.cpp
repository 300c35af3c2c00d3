// The panel page: the fader follows the mouse and moves its constant, and a text note keeps its
// minimum size while its edges are dragged.
#include "modules/panel_items.h"
#include "modules/constants.h"
#include "tests/views/canvas_fixture.h"

namespace {

class PanelItemsTest : public CanvasTest {
 protected:
  PanelItemsTest() {
    structure.Show(&list);
    view.Show(panel.get());
  }
  ~PanelItemsTest() override { structure.Show(nullptr); }

  TRPointer<TModuleListe> panel = document.ViewSound->ModuleList;
  TModuleCanvasView structure;
};

TEST_F(PanelItemsTest, FaderKnobFollowsTheMouseAndMovesTheConstant) {
  auto& constant = dynamic_cast<TBasisKonstanten&>(Add("ConstAnalog", "level", 20, 20));
  constant.ShowInView->value = 1;
  constant.ShowOnPanel(true);
  auto* fader = dynamic_cast<TModulSchieber*>(FindPanelItem(constant, "ViewFader"));
  ASSERT_NE(fader, nullptr);
  const int before = fader->Position();
  const TRect r = fader->Rect->GetRect();
  // The knob, 22 points high, stands `position` points above the slider's bottom at 22 + 122.
  const QPointF knob(r.left + 20, r.top + 22 + 122 - before - 11);
  Drag(knob, knob - QPointF(0, 10));
  EXPECT_EQ(fader->Position(), before + 10);
  EXPECT_EQ(constant.Value->value, constant.ValueAtSlider(before + 10));
  EXPECT_EQ(constant.SliderPosition(), before + 10);
}

TEST_F(PanelItemsTest, TextNoteKeepsItsMinimumSize) {
  panel->CreateModuleAt("ViewText", "note", 20, 20, false);
  auto& note = dynamic_cast<TModul&>(*panel->Get("note"));
  struct SCase {
    QPointF to;  // where the lower-right corner is dragged, relative to the note
    int width;
    int height;
  };
  const SCase cases[] = {
      {{120, 90}, 120, 90}, {{35, 90}, 120, 90}, {{120, 25}, 120, 90}, {{41, 31}, 41, 31}};
  for (const SCase& c : cases) {
    const TRect r = note.Rect->GetRect();
    const QPointF origin(r.left, r.top);
    Drag(origin + QPointF(r.right - r.left - 3, r.bottom - r.top - 3), origin + c.to);
    EXPECT_EQ(note.Rect->right->value - note.Rect->left->value, c.width) << c.to.x();
    EXPECT_EQ(note.Rect->bottom->value - note.Rect->top->value, c.height) << c.to.y();
  }
}

// Over the edges that resize it the note shows the resize arrow of the edge, elsewhere the
// plain arrow.
TEST_F(PanelItemsTest, TextNoteShowsResizeCursorsOnItsEdges) {
  panel->CreateModuleAt("ViewText", "note", 20, 20, false);
  const TRect r = dynamic_cast<TModul&>(*panel->Get("note")).Rect->GetRect();
  const QPointF origin(r.left, r.top);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const std::pair<QPointF, Qt::CursorShape> cases[] = {
      {{w - 3.0, h - 3.0}, Qt::SizeFDiagCursor},
      {{w / 2.0, h - 3.0}, Qt::SizeVerCursor},
      {{w - 3.0, h / 2.0}, Qt::SizeHorCursor},
      {{w / 2.0, h / 2.0}, Qt::ArrowCursor},
  };
  for (const auto& [at, shape] : cases) {
    MoveTo(origin + at);
    EXPECT_EQ(view.viewport()->cursor().shape(), shape) << at.x() << ", " << at.y();
  }
}

}  // namespace
