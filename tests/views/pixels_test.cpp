// Pixel probes of the canvas at zoom 1 and scale 1: panels, title bars, wires, grid dots and the
// colours of active and inactive modules. Text stays out of the probes.
#include "tests/views/canvas_fixture.h"

#include "persist/tree_message.h"
#include "resources/artwork.h"
#include "views/canvas_geometry.h"

namespace {

const QColor kMarkedTitle(0, 0, 128);

class PixelsTest : public CanvasTest {
 protected:
  QColor Option(std::int32_t stored) const { return StoredToColor(stored); }
  // The canvas as it was before any module was added: its tiles and grid dots.
  bool IsCanvas(const QImage& image, QPointF scene) const {
    return PixelAt(image, scene) == PixelAt(empty, scene);
  }
  void SetUp() override { empty = Grab(); }

  QImage empty;
};

TEST_F(PixelsTest, PanelCoversItsRectAndTheTitleBarIsFifteenHigh) {
  TModulArbeiten& module = Add("MonoLoudness", "amp", 103, 104);
  module.Title->value.clear();
  module.SelectOnly();
  const TRect r = module.Rect->GetRect();
  const QImage image = Grab();
  const int probeY = r.bottom - 3;
  for (int x = r.left; x < r.right; ++x) {
    EXPECT_NE(PixelAt(image, QPointF(x, probeY)), PixelAt(empty, QPointF(x, probeY))) << "x " << x;
  }
  EXPECT_TRUE(IsCanvas(image, QPointF(r.left - 1, probeY)));
  EXPECT_TRUE(IsCanvas(image, QPointF(r.right, probeY)));
  EXPECT_TRUE(IsCanvas(image, QPointF(r.left + 40, r.bottom)));
  const int titleX = r.left + 40;
  EXPECT_TRUE(IsCanvas(image, QPointF(titleX, r.top - 1)));
  for (int y = r.top; y < r.top + kTitleHeight; ++y) {
    EXPECT_EQ(PixelAt(image, QPointF(titleX, y)), kMarkedTitle) << "y " << y;
  }
  EXPECT_EQ(PixelAt(image, QPointF(titleX, r.top + kTitleHeight)),
            Option(ViewOptions().moduleInActive));
}

TEST_F(PixelsTest, WiresLieOnTheirPathInTheColourOfTheirSignal) {
  TModulArbeiten& constant = Add("ConstAnalog", "c", 20, 20);
  TModulArbeiten& pitch = Add("ConstFrequenz", "f", 20, 200);
  TModulArbeiten& square = Add("MonoSquare", "square", 300, 90);
  Drag(Middle(Output(constant, "1")), Middle(FirstInputOf(square, TSignalKind::Analog)));
  Drag(Middle(Output(pitch, "1")), Middle(FirstInputOf(square, TSignalKind::Frequenz)));
  for (const bool direct : {true, false}) {
    ViewOptions().directLines = direct;
    view.Repaint();
    const QImage image = Grab();
    for (TSignalKind kind : {TSignalKind::Analog, TSignalKind::Frequenz}) {
      const TEingang& input = FirstInputOf(square, kind);
      ASSERT_NE(input.GetSource(), nullptr);
      const std::vector<TPoint> path =
          WirePath(input.GetSource()->ConnectionPoint(), input.ConnectionPoint(), direct);
      const QColor colour = WireColor(ViewOptions(), kind);
      for (size_t i = 0; i + 1 < path.size(); ++i) {
        const TPoint a = path[i];
        const TPoint b = path[i + 1];
        if (a.x != b.x && a.y != b.y) continue;  // slanted segments are smoothed
        const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
        for (int s = 1; s < steps; ++s) {
          // Whole pixels along the segment.
          const int x = a.x + (b.x - a.x) * s / steps;
          const int y = a.y + (b.y - a.y) * s / steps;
          const QPointF at(x, y);
          EXPECT_EQ(PixelAt(image, at), colour)
              << "direct " << direct << " at " << at.x() << "," << at.y();
        }
      }
      const TPoint end = path.front();
      EXPECT_NE(PixelAt(image, QPointF(end.x - 3, end.y - 3)), colour);
    }
  }
}

TEST_F(PixelsTest, GridDotsLieEveryGridSizeAndMoveWithTheScroll) {
  ViewOptions().gridSize = 12;
  Add("ConstAnalog", "far", 3000, 3000);
  const QColor dot = Option(ViewOptions().gridColor);
  for (const int scroll : {0, 5}) {
    view.ScrollBy(scroll, scroll);
    const QImage image = Grab();
    for (int x = 240; x <= 288; x += 12) {
      for (const int y : {240, 252}) {
        const QPoint at(x - scroll, y - scroll);
        EXPECT_EQ(image.pixelColor(at), dot) << x << "," << y << " scrolled " << scroll;
        EXPECT_NE(image.pixelColor(at + QPoint(1, 0)), dot);
        EXPECT_NE(image.pixelColor(at + QPoint(6, 6)), dot);
      }
    }
  }
}

TEST_F(PixelsTest, PanelColourFollowsTheActiveState) {
  TModulArbeiten& constant = Add("ConstAnalog", "c", 20, 20);
  TModulArbeiten& meter = Add("VolumeWork", "meter", 300, 20);
  const auto body = [](const TModul& module) {
    const TRect r = module.Rect->GetRect();
    return QPointF(r.right - 4, r.bottom - 4);
  };
  EXPECT_EQ(PixelAt(Grab(), body(meter)), Option(ViewOptions().moduleInActive));
  Drag(Middle(Output(constant, "1")), Middle(Input(meter, "1")));
  const QImage wired = Grab();
  EXPECT_EQ(PixelAt(wired, body(meter)), Option(ViewOptions().moduleActive));
  EXPECT_EQ(PixelAt(wired, body(constant)), Option(ViewOptions().moduleActive));
  list.ExecuteCommand(kCommandUndo);
  EXPECT_EQ(PixelAt(Grab(), body(meter)), Option(ViewOptions().moduleInActive));
}

}  // namespace

// Every connector of `module`, inputs first.
std::vector<TEinAusgang*> PortsOf(const TModulArbeiten& module) {
  std::vector<TEinAusgang*> ports = module.InputList->Ports();
  for (TEinAusgang* output : module.OutputList->Ports())
    ports.push_back(output);
  return ports;
}

// The modules that own a device show its lamp, unlit while the device is closed (no device is
// installed here), and their connectors lie clear of it, also in files that held them higher.
TEST_F(PixelsTest, DeviceLampsShowTheClosedDeviceClearOfTheConnectors) {
  struct SLamp {
    const char* type;
    QRect lamp;  // in panel points
  };
  const QImage unlit = ArtworkPixmap(QStringLiteral("LAMPE_AUS")).toImage();
  const QColor unlitCentre = unlit.pixelColor(unlit.width() / 2, unlit.height() / 2);
  for (const SLamp& device :
       {SLamp{"MidiIn", {54, 16, 12, 12}}, SLamp{"Microphon", {57, 16, 12, 12}},
        SLamp{"Speaker", {9, 16, 12, 12}}, SLamp{"SpeakerStereo", {9, 16, 12, 12}}}) {
    SCOPED_TRACE(device.type);
    TModulArbeiten& module = Add(device.type, device.type, 100, 100);
    for (TEinAusgang* port : PortsOf(module))
      port->Rect->MoveTo(port->Rect->left->value, kTitleHeight + 10);
    module.Notify(kTreeAfterRead, 0, nullptr);
    const TRect r = module.Rect->GetRect();
    const QImage image = Grab();
    EXPECT_EQ(PixelAt(image, QPointF(r.left, r.top) + QRectF(device.lamp).center()), unlitCentre);
    for (const TEinAusgang* port : PortsOf(module)) {
      const TRect p = port->Rect->GetRect();
      EXPECT_FALSE(device.lamp.intersects(QRect(QPoint(p.left, p.top), QPoint(p.right, p.bottom))))
          << port->Key();
    }
    module.SelectOnly();
    list.ExecuteCommand(kCommandDelete);
  }
}
