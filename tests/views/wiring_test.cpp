// Wiring with the mouse: a drag from connector to connector, the cursors on the way, and the
// right button; each change is one undo step.
#include "tests/views/canvas_fixture.h"

namespace {

class WiringTest : public CanvasTest {
 protected:
  WiringTest()
      : constant(Add("ConstAnalog", "c", 20, 20)),
        amplifier(Add("MonoLoudness", "amp", 200, 20)),
        oscillator(Add("MonoSquare", "osc", 20, 120)) {}

  TModulArbeiten& constant;
  TModulArbeiten& amplifier;
  TModulArbeiten& oscillator;
};

TEST_F(WiringTest, OutputOntoInputIsOneConnectStepThatUndoRemoves) {
  TEingang& input = Input(amplifier, "1");
  Drag(Middle(Output(constant, "1")), Middle(input));
  EXPECT_EQ(input.GetSource(), &Output(constant, "1"));
  ASSERT_EQ(list.ActionManager.UndoCount(), 1);
  EXPECT_EQ(list.ActionManager.UndoText(), "Undo connect module");
  list.ExecuteCommand(kCommandUndo);
  EXPECT_TRUE(input.IsFree());
}

TEST_F(WiringTest, InputOntoInputChangesNothing) {
  Drag(Middle(Input(amplifier, "1")), Middle(Input(amplifier, "2")));
  EXPECT_TRUE(Input(amplifier, "1").IsFree());
  EXPECT_TRUE(Input(amplifier, "2").IsFree());
  EXPECT_EQ(list.ActionManager.UndoCount(), 0);
}

TEST_F(WiringTest, RightButtonRemovesAWireAsAStepOfItsOwn) {
  TEingang& input = Input(amplifier, "1");
  Drag(Middle(Output(constant, "1")), Middle(input));
  Press(Middle(input), Qt::RightButton);
  Release(Middle(input), Qt::RightButton);
  EXPECT_TRUE(input.IsFree());
  EXPECT_EQ(list.ActionManager.UndoCount(), 2);
  list.ExecuteCommand(kCommandUndo);
  EXPECT_EQ(input.GetSource(), &Output(constant, "1"));
}

TEST_F(WiringTest, CursorShowsWhatTheDropWouldDo) {
  Drag(Middle(Output(constant, "1")), Middle(Input(amplifier, "2")));
  struct SCase {
    const char* over;
    QPointF at;
    int cursor;
  };
  const SCase cases[] = {
      {"a free input that fits", Middle(Input(amplifier, "1")), 100},
      {"the input it already feeds", Middle(Input(amplifier, "2")), 101},
      {"an input of another signal kind", Middle(FirstInputOf(oscillator, TSignalKind::Frequenz)),
       102},
      {"the empty canvas", QPointF(400, 300), 0},
  };
  Press(Middle(Output(constant, "1")));
  for (const SCase& c : cases) {
    MoveTo(c.at);
    EXPECT_EQ(view.Scene().CursorNumber(), c.cursor) << c.over;
  }
  Release(QPointF(400, 300));
  EXPECT_EQ(view.Scene().CursorNumber(), 0);
  EXPECT_EQ(list.ActionManager.UndoCount(), 1);
}

TEST_F(WiringTest, DoubleClickOnAFreeInputAtTheLeftEdgeMakesAConstantAtZero) {
  TModulArbeiten& edge = Add("MonoLoudness", "edge", 0, 200);
  TEingang& input = Input(edge, "1");
  Press(Middle(input));
  Release(Middle(input));
  Mouse(QEvent::MouseButtonDblClick, Middle(input), Qt::LeftButton);
  Release(Middle(input));
  TAusgang* source = input.GetSource();
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->OwnerModule()->Rect->left->value, 0);
  EXPECT_EQ(source->OwnerModule()->typeName, "ConstAnalog");
  EXPECT_EQ(list.ActionManager.UndoCount(), 1);
  list.ExecuteCommand(kCommandUndo);
  EXPECT_TRUE(input.IsFree());
  EXPECT_EQ(list.Children().size(), 4u);
}

}  // namespace
