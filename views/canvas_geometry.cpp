#include "views/canvas_geometry.h"

#include <algorithm>
#include <cmath>

#include "platform/options.h"

namespace {

// Width and height of the delete button and its distance from the right edge.
constexpr int kDeleteWidth = kTitleHeight - 1;
constexpr int kDeleteHeight = kTitleHeight - 2;
constexpr int kDeleteTop = 2;
constexpr int kDeleteRightGap = 1 + 15 + 3;

// Adds the pixels of an axis-parallel stroke from `a` to `b`; as on the original canvas the
// stroke includes its start and leaves out its end.
void AddStroke(std::vector<QRect>& runs, QPoint a, QPoint b) {
  if (a.y() == b.y()) {
    const int first = a.x() < b.x() ? a.x() : b.x() + 1;
    const int last = a.x() < b.x() ? b.x() - 1 : a.x();
    if (first <= last) runs.push_back(QRect(first, a.y(), last - first + 1, 1));
  } else {
    const int first = a.y() < b.y() ? a.y() : b.y() + 1;
    const int last = a.y() < b.y() ? b.y() - 1 : a.y();
    if (first <= last) runs.push_back(QRect(a.x(), first, 1, last - first + 1));
  }
}

void AddPolyline(std::vector<QRect>& runs, std::initializer_list<QPoint> points) {
  for (auto at = points.begin(); at + 1 != points.end(); ++at)
    AddStroke(runs, *at, *(at + 1));
}

}  // namespace

int ItemExtent(int from, int to) {
  return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{to} - from, 0, kMaxItemExtent));
}

QRect DeleteButtonRect(int panelWidth) {
  return QRect(panelWidth - kDeleteRightGap, kDeleteTop, kDeleteWidth, kDeleteHeight);
}

std::vector<QLine> DeleteCross(QSize button) {
  const int w = button.width();
  const int h = button.height();
  return {QLine(4, 3, w - 4, h - 3), QLine(w - 4, 3, 4, h - 3), QLine(5, 3, w - 3, h - 3),
          QLine(w - 5, 3, 3, h - 3)};
}

bool StrictlyInside(QPointF point, QSizeF size) {
  return point.x() > 0 && point.y() > 0 && point.x() < size.width() && point.y() < size.height();
}

std::vector<QRect> ConnectorFace(QSize size, bool input, bool poly, bool wired) {
  const int w = size.width();
  const int h = size.height();
  const int c = h / 2;
  std::vector<QRect> runs;
  AddStroke(runs, {0, 1}, {w, 1});
  AddStroke(runs, {0, h - 2}, {w, h - 2});
  if (input) {
    AddStroke(runs, {w - 1, 1}, {w - 1, h - 1});
    AddPolyline(runs, {{0, c - 1}, {5, c - 1}, {5, c + 1}});
    AddStroke(runs, {0, c + 1}, {6, c + 1});
    if (wired) AddStroke(runs, {0, c}, {5, c});
    if (poly) {
      AddStroke(runs, {0, c - 2}, {4, c - 2});
      AddStroke(runs, {0, c + 2}, {4, c + 2});
      AddStroke(runs, {0, c - 3}, {2, c - 3});
      AddStroke(runs, {0, c + 3}, {2, c + 3});
    }
  } else {
    AddStroke(runs, {0, 1}, {0, h - 1});
    AddPolyline(runs, {{w - 2, c - 1}, {w - 6, c - 1}, {w - 6, c + 1}, {w - 1, c + 1}});
    if (wired) AddStroke(runs, {w - 1, c}, {w - 6, c});
    if (poly) {
      AddStroke(runs, {w - 1, c - 2}, {w - 5, c - 2});
      AddStroke(runs, {w - 1, c + 2}, {w - 5, c + 2});
      AddStroke(runs, {w - 1, c - 3}, {w - 3, c - 3});
      AddStroke(runs, {w - 1, c + 3}, {w - 3, c + 3});
    }
  }
  return runs;
}

int CaptionMargin(bool input, int length) {
  if (input) return length == 1 ? 8 : 6;
  return length == 1 ? 5 : 3;
}

int FirstGridLine(double from, int grid) { return static_cast<int>(std::ceil(from / grid)) * grid; }

bool GridVisibleAt(int grid, double zoom) { return grid > 0 && grid * zoom >= kMinGridSpacing; }

double ClampZoom(double zoom) { return std::clamp(zoom, kMinZoom, kMaxZoom); }

QColor StoredToColor(std::int32_t stored) {
  return QColor(stored & 0xff, (stored >> 8) & 0xff, (stored >> 16) & 0xff);
}

QColor WireColor(const SViewOptions& options, TSignalKind kind) {
  switch (kind) {
    case TSignalKind::Analog:
      return StoredToColor(options.colorAnalog);
    case TSignalKind::Frequenz:
      return StoredToColor(options.colorFrequenz);
    case TSignalKind::Midi:
      break;
  }
  return StoredToColor(options.colorMidi);
}

int WireDropCursor(int dropClass) {
  switch (dropClass) {
    case 1:
      return 101;
    case 2:
      return 100;
    case 3:
      return 102;
    default:
      return 0;
  }
}
