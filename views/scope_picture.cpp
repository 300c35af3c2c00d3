#include "views/scope_picture.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "modules/scope.h"
#include "views/canvas_geometry.h"

namespace {

const QColor kStartLine(0, 128, 0);

Qt::PenStyle GridPenStyle(int style) {
  static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                             Qt::DashDotLine, Qt::DashDotDotLine};
  return style >= 0 && style < 5 ? kStyles[style] : Qt::SolidLine;
}

int Truncated(double value) { return static_cast<int>(std::clamp(std::trunc(value), -1e9, 1e9)); }

void PaintGrid(QPainter& painter, QSize size, const TFensterSehen& look) {
  const int lines = look.GridSize->value;
  if (lines == 0) return;
  QPen pen(StoredToColor(look.ColorGrid->value));
  pen.setStyle(GridPenStyle(look.GridStyle->value));
  pen.setWidth(1);
  painter.setPen(pen);
  for (const int y : GridLines(size.height(), lines))
    painter.drawLine(0, y, size.width(), y);
  for (const int x : GridLines(size.width(), lines))
    painter.drawLine(x, 0, x, size.height());
}

}  // namespace

double ZoomStep(double zoom, bool up) {
  return std::clamp(up ? zoom * 1.5 : zoom * 2.0 / 3.0, kMinScopeZoom, kMaxScopeZoom);
}

std::vector<int> GridLines(int extent, int gridSize) {
  std::vector<int> lines;
  if (gridSize <= 0) return lines;
  const double step = static_cast<double>(extent) / (gridSize + 1);
  for (double at = step; at < extent - 1; at += step)
    lines.push_back(Truncated(at));
  return lines;
}

double CurveScale(const TFensterSehen& look, std::span<const std::int32_t> samples, int height) {
  if (look.Optimize->value != 1) return 0.0003 * look.Scale_Y->value * (height - 1);
  std::int64_t peak = 0;
  for (const std::int32_t sample : samples)
    peak = std::max<std::int64_t>(peak, std::llabs(sample));
  return peak == 0 ? 0.0 : height * 0.5 / static_cast<double>(peak);
}

QPolygon CurvePoints(std::span<const std::int32_t> samples, QSize size, double scale) {
  QPolygon points;
  const std::int64_t n = static_cast<std::int64_t>(samples.size());
  const int columns = size.width() - 1;
  if (n == 0 || columns <= 0) return points;
  const int middle = (size.height() - 1) / 2;
  const auto y = [&](std::int64_t index) {
    return middle - Truncated(samples[static_cast<std::size_t>(index)] * scale);
  };
  points << QPoint(0, middle);
  for (int x = 0; x < columns; ++x) {
    const std::int64_t first = n * x / columns;
    const std::int64_t end = std::max(first + 1, std::min(n, n * (x + 1) / columns));
    const auto column =
        samples.subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(end - first));
    const auto [low, high] = std::minmax_element(column.begin(), column.end());
    const std::int64_t lowAt = first + (low - column.begin());
    const std::int64_t highAt = first + (high - column.begin());
    points << QPoint(x, y(first)) << QPoint(x, y(std::min(lowAt, highAt)))
           << QPoint(x, y(std::max(lowAt, highAt))) << QPoint(x, y(end - 1));
  }
  return points;
}

void PaintWavePicture(QPainter& painter, QSize size, const TAusgabeSehen& scope) {
  const TFensterSehen& look = *scope.ViewLook;
  painter.fillRect(QRect(QPoint(0, 0), size), StoredToColor(look.ColorBackground->value));
  PaintGrid(painter, size, look);
  const std::vector<std::int32_t> samples = scope.CapturedSamples();
  const double scale = CurveScale(look, samples, size.height());
  if (samples.empty() || (look.Optimize->value == 1 && scale == 0.0)) return;
  painter.setPen(QPen(kStartLine, 1));
  painter.drawLine(0, 1, 0, size.height() - 1);
  painter.setPen(QPen(StoredToColor(look.WaveColor->value), 1));
  painter.drawPolyline(CurvePoints(samples, size, scale));
}

QImage RenderWavePicture(const TAusgabeSehen& scope, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  PaintWavePicture(painter, size, scope);
  return image;
}
