// Wiring with the mouse: a drag from connector to connector, the cursors on the way, and the
// right button; each change is one undo step.
#include <QHelpEvent>
#include <QToolTip>

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
  EXPECT_EQ(source->Owner()->Rect->left->value, 0);
  EXPECT_EQ(source->Owner()->typeName, "ConstAnalog");
  EXPECT_EQ(list.ActionManager.UndoCount(), 1);
  list.ExecuteCommand(kCommandUndo);
  EXPECT_TRUE(input.IsFree());
  EXPECT_EQ(list.Children().size(), 4u);
}

// A connector's tooltip tells what the port is, in the kind's own words where it has them, and
// which module feeds a wired input, as the wiring is when the tooltip shows.
TEST_F(WiringTest, ConnectorTooltipsTellThePortAndItsSource) {
  TModulArbeiten& speaker = Add("SpeakerStereo", "speaker", 400, 200);
  TModulArbeiten& fade = Add("MonoCrossfadeAmpl", "fade", 200, 200);
  const auto tip = [this](const TEinAusgang& port) {
    const QPoint at = view.mapFromScene(Middle(port));
    QHelpEvent event(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &event);
    return QToolTip::text().toStdString();
  };
  EXPECT_EQ(tip(Input(speaker, "1")), "Input left - signal");
  EXPECT_EQ(tip(Input(speaker, "2")), "Input right - signal");
  EXPECT_EQ(tip(Input(fade, "1")), "Input crossfade - signal");
  EXPECT_EQ(tip(Output(constant, "1")), "Output mono audio");
  Drag(Middle(Output(oscillator, "1")), Middle(Input(speaker, "2")));
  EXPECT_EQ(tip(Input(speaker, "2")),
            "Input right - signal\nfrom " + oscillator.Title->value.substr(1));
}

}  // namespace
