// Drawing cost of the editor canvas on a large sound: 500 modules and 998 wires (each module fed
// by the two before it), generated, saved and loaded again. Reported:
// - Canvas_LoadToFirstPaint: loading the file, building every panel and the first paint of a
//   1600 x 1000 viewport showing the whole sound at zoom 50 %;
// - Canvas_RepaintWhileDragging/Z: one module moved by a step as a title-bar drag moves it, then
//   the whole viewport painted again, at zoom Z % (at 50 % the grid is too dense to be drawn);
// - Canvas_DragFrameOnScreen/Z: the same step with the canvas on screen, where only what the
//   step changed is painted again;
// - Canvas_BarePainterLoop: the floor, a plain QPainter loop filling the same rectangles and
//   drawing the same wire lines into an image of the same size; the ratio of the drag repaint to
//   this loop says what the scene, the items and the model lookups add.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "engine/device_services.h"
#include "modules/catalogue.h"
#include "patch/application_context.h"
#include "patch/dokument_klang.h"
#include "patch/modul_arbeiten.h"
#include "patch/ports.h"
#include "views/module_canvas.h"

namespace {

constexpr int kModules = 500;
constexpr int kColumns = 25;
constexpr int kSpacingX = 130;
constexpr int kSpacingY = 80;
constexpr QSize kViewport(1600, 1000);
constexpr double kZoom = 0.5;

std::string KeyOf(int i) { return "m" + std::to_string(i); }

// Writes the generated sound once and returns its file name.
const QString& LargeSound() {
  static QTemporaryDir folder;
  static const QString path = folder.filePath("large.zmr");
  static bool written = false;
  if (written) return path;
  TDokumentKlang document;
  TModuleListe& list = *document.ModuleList;
  for (int i = 0; i < kModules; ++i) {
    list.CreateModuleAt("MonoLoudness", KeyOf(i), (i % kColumns) * kSpacingX,
                        (i / kColumns) * kSpacingY, false);
  }
  for (int i = 2; i < kModules; ++i) {
    auto& module = dynamic_cast<TModulArbeiten&>(*list.Get(KeyOf(i)));
    for (int back = 1; back <= 2; ++back) {
      auto& source = dynamic_cast<TModulArbeiten&>(*list.Get(KeyOf(i - back)));
      dynamic_cast<TEingang&>(*module.InputList->Get(std::to_string(back)))
          .Connect(dynamic_cast<TEinAusgang*>(source.OutputList->Get("1").get()), false);
    }
  }
  written = document.Save(path);
  return path;
}

struct SOpenSound {
  SOpenSound() {
    const SDeviceServices previous = DeviceServices();
    SetDeviceServices({});
    document.Load(LargeSound());
    SetDeviceServices(previous);
    canvas.resize(kViewport);
    canvas.Show(document.ModuleList.get());
    canvas.SetZoom(kZoom);
  }
  void Paint() { canvas.viewport()->render(&picture); }

  TDokumentKlang document;
  TModuleCanvasView canvas;
  QImage picture{kViewport, QImage::Format_ARGB32_Premultiplied};
};

void Canvas_LoadToFirstPaint(benchmark::State& state) {
  LargeSound();
  for (auto _ : state) {
    SOpenSound sound;
    sound.Paint();
    benchmark::DoNotOptimize(sound.picture.constBits());
  }
}
BENCHMARK(Canvas_LoadToFirstPaint)->Unit(benchmark::kMillisecond);

// The module in the middle of the sound, selected alone and moved back and forth by a point.
struct SDraggedModule {
  explicit SDraggedModule(TModuleListe& list) : list(list) {
    dynamic_cast<TModul&>(*list.Get(KeyOf(kModules / 2))).SelectOnly();
    list.CollectMarked(selection, 0);
  }
  void Step() {
    list.MoveMarked(selection, step, step);
    step = -step;
  }
  TModuleListe& list;
  TPropTypList selection;
  int step = 1;
};

void Canvas_RepaintWhileDragging(benchmark::State& state) {
  SOpenSound sound;
  sound.canvas.SetZoom(state.range(0) / 100.0);
  SDraggedModule dragged(*sound.document.ModuleList);
  for (auto _ : state) {
    dragged.Step();
    sound.Paint();
    benchmark::DoNotOptimize(sound.picture.constBits());
  }
}
BENCHMARK(Canvas_RepaintWhileDragging)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

// What a screen shows while dragging: the canvas is on screen, the module moves by a step and
// the view repaints only the places of the panel and its wires before and after.
void Canvas_DragFrameOnScreen(benchmark::State& state) {
  SOpenSound sound;
  sound.canvas.SetZoom(state.range(0) / 100.0);
  sound.canvas.show();
  QCoreApplication::processEvents();
  SDraggedModule dragged(*sound.document.ModuleList);
  for (auto _ : state) {
    dragged.Step();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(Canvas_DragFrameOnScreen)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

void Canvas_BarePainterLoop(benchmark::State& state) {
  QImage picture(kViewport, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&picture);
    painter.scale(kZoom, kZoom);
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(kViewport) / kZoom), Qt::gray);
    for (int i = 0; i < kModules; ++i) {
      const int row = i / kColumns;
      const QRectF panel((i % kColumns) * kSpacingX, row * kSpacingY, 88, 59);
      painter.fillRect(panel, Qt::lightGray);
      painter.fillRect(panel.adjusted(0, 0, 0, 15 - panel.height()), Qt::darkGray);
    }
    painter.setPen(Qt::white);
    for (int i = 2; i < kModules; ++i) {
      const int row = i / kColumns;
      const QPointF end((i % kColumns) * kSpacingX, row * kSpacingY + 25);
      for (int back = 1; back <= 2; ++back) {
        const int j = i - back;
        const int startRow = j / kColumns;
        const QPointF start((j % kColumns) * kSpacingX + 88, startRow * kSpacingY + 30);
        const QPointF line[] = {end, end - QPointF(5, 0), start + QPointF(5, 0), start};
        painter.drawPolyline(line, 4);
      }
    }
    painter.end();
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(Canvas_BarePainterLoop)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  SApplicationContext context;
  context.moduleTypes = ModuleCatalogue();
  const TApplicationScope scope(context);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
