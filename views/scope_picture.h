// The scope's picture: background, grid and the captured curve, as the scope window shows it, the
// clipboard receives it and the bitmap export writes it. The geometry lives in small functions of
// their own; painting only loops over what they give.
#pragma once

#include <QImage>
#include <QPolygon>
#include <QSize>
#include <cstdint>
#include <span>
#include <vector>

class QPainter;
class TAusgabeSehen;
class TFensterSehen;

// The zoom field's limits.
inline constexpr double kMinScopeZoom = 0.01;
inline constexpr double kMaxScopeZoom = 99.0;

// The zoom one step up (x 1.5) or down (x 2/3) from `zoom`, kept to kMinScopeZoom..kMaxScopeZoom.
double ZoomStep(double zoom, bool up);

// Where `gridSize` grid lines cross a picture `extent` pixels wide or high: every
// extent / (gridSize + 1), summed up in double precision and truncated, while below extent - 1.
std::vector<int> GridLines(int extent, int gridSize);

// Pixels per sample value for a picture `height` high: with "Optimize" the peak fills half the
// height (0 for a silent capture, which shows no curve); otherwise 0.0003 x "Scale_Y" x
// (height - 1).
double CurveScale(const TFensterSehen& look, std::span<const std::int32_t> samples, int height);

// The curve through `samples` on a picture `size` big at `scale` pixels per value, around the
// middle line. Each pixel column x of 0..width-2 stands for the samples from n x / (width - 1)
// on; a column of several samples goes through their first value, their extremes in the order
// they came and their last value, so that a long capture shows its whole envelope without
// aliasing, and a short one is joined point to point.
QPolygon CurvePoints(std::span<const std::int32_t> samples, QSize size, double scale);

// Paints the whole picture of `scope` on `size`.
void PaintWavePicture(QPainter& painter, QSize size, const TAusgabeSehen& scope);
// The picture as an image of `size`, for the clipboard and the bitmap export.
QImage RenderWavePicture(const TAusgabeSehen& scope, QSize size);
