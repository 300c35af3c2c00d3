// The scope window over a captured signal: its grid, its zoom field, the curve of a long capture
// and the exports.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>

#include "modules/scope.h"
#include "tests/modules/patch_builder.h"
#include "tests/modules/render_rig.h"
#include "tests/modules/scope_patch.h"
#include "views/canvas_geometry.h"
#include "views/scope_picture.h"
#include "views/scope_window.h"

namespace {

TEST(ScopePicture, GridLinesSplitThePictureEvenly) {
  struct SCase {
    int extent;
    int lines;
    std::vector<int> at;
  };
  const SCase cases[] = {
      {200, 3, {50, 100, 150}}, {200, 0, {}},   {100, 1, {50}},
      {10, 4, {2, 4, 6, 8}},    {3, 3, {0, 1}},  // too small for three lines: they stop below
                                                 // extent - 1
  };
  for (const SCase& c : cases)
    EXPECT_EQ(GridLines(c.extent, c.lines), c.at) << c.extent;
}

TEST(ScopePicture, TheGridIsDrawnWhereItsLinesLie) {
  TAusgabeSehen scope;
  scope.ViewLook->GridStyle->value = 0;  // solid, so that every pixel of a line shows
  const QImage picture = RenderWavePicture(scope, QSize(300, 200));
  const QColor grid = StoredToColor(scope.ViewLook->ColorGrid->value);
  const QColor background = StoredToColor(scope.ViewLook->ColorBackground->value);
  for (const int y : {50, 100, 150})
    EXPECT_EQ(picture.pixelColor(10, y), grid) << y;
  EXPECT_EQ(picture.pixelColor(10, 51), background);
  EXPECT_EQ(picture.pixelColor(75, 10), grid);
}

TEST(ScopeWindow, ZoomStepsAndLimits) {
  TAusgabeSehen scope;
  TViewWave window(scope);
  auto* zoom = window.findChild<QLineEdit*>("MaskEditZoom");
  ASSERT_NE(zoom, nullptr);
  EXPECT_EQ(zoom->text(), "1.000");
  window.findChild<QToolButton*>("UpDownZoomUp")->click();
  EXPECT_EQ(zoom->text(), "1.500");
  window.findChild<QToolButton*>("UpDownZoomUp")->click();
  EXPECT_EQ(zoom->text(), "2.250");
  EXPECT_DOUBLE_EQ(scope.ViewLook->Scale_Y->value, 2.25);
  zoom->setText("0.012");
  window.findChild<QToolButton*>("UpDownZoomDown")->click();
  EXPECT_EQ(zoom->text(), "0.010");
  EXPECT_DOUBLE_EQ(ZoomStep(80, true), 99);
}

TEST(ScopePicture, ALongCaptureShowsEverySpike) {
  // The longest capture, silent but for one sample: drawing one sample per column would miss it.
  SScopePatch patch(0, TAusgabeSehen::kMaxTime);
  ASSERT_EQ(patch.rig.Start(), 0);
  patch.rig.Run(123457);
  patch.source->value = 2000;
  patch.rig.Run(1);
  patch.source->value = 0;
  patch.rig.Run(100000);
  patch.rig.Finish();
  ASSERT_EQ(patch.scope->CaptureCount(), 1);
  patch.scope->ViewLook->GridSize->value = 0;
  const QImage picture = RenderWavePicture(*patch.scope, QSize(400, 200));
  const QColor curve = StoredToColor(patch.scope->ViewLook->WaveColor->value);
  bool spike = false;
  for (int x = 1; x < 400; ++x)
    spike = spike || picture.pixelColor(x, 5) == curve;
  EXPECT_TRUE(spike);  // optimised: the peak reaches from the middle line to the top
}

TEST(ScopePicture, AShortCaptureJoinsItsSamplesPointToPoint) {
  const std::vector<std::int32_t> samples = {0, 100, -100};
  const QPolygon points = CurvePoints(samples, QSize(7, 11), 0.01);
  // From the middle line, three columns per sample, each through the one sample it shows.
  ASSERT_EQ(points.size(), 1 + 6 * 4);
  EXPECT_EQ(points[0], QPoint(0, 5));
  EXPECT_EQ(points[1], QPoint(0, 5));
  EXPECT_EQ(points[4 * 2 + 1], QPoint(2, 4));
  EXPECT_EQ(points[4 * 4 + 1], QPoint(4, 6));
}

TEST(ScopeWindow, ExportsTheCaptureAsWaveAndThePictureAsBitmap) {
  SScopePatch patch(2048);
  patch.rig.Render(3000);
  TViewWave window(*patch.scope);
  window.resize(500, 300);
  window.show();
  QTemporaryDir folder;
  struct SCase {
    TWaveExport kind;
    qint64 bytes;
  };
  for (const SCase& c :
       {SCase{TWaveExport::Wave22050, 4454}, SCase{TWaveExport::Wave44100, 8864}}) {
    const QString path = folder.filePath("look.wav");
    ASSERT_TRUE(window.ExportTo(path, c.kind));
    EXPECT_EQ(QFile(path).size(), c.bytes);
  }
  const QString bitmap = folder.filePath("look.bmp");
  ASSERT_TRUE(window.ExportTo(bitmap, TWaveExport::Bitmap));
  const QImage saved(bitmap, "BMP");
  EXPECT_EQ(saved.size(), window.PaintBox()->size());
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), window.Picture());
  EXPECT_FALSE(window.ExportTo(folder.filePath("missing/look.bmp"), TWaveExport::Bitmap));
}

}  // namespace
