// The drawing maths of the editor canvas as small pure functions: where the parts of a module
// panel lie, which pixels a connector's face sets, where grid dots fall, how far zoom may go and
// which colour a wire takes. Everything is in unzoomed points of the panel or the scene; the
// items only loop over the results.
#pragma once

#include <QColor>
#include <QLine>
#include <QPointF>
#include <QRect>
#include <cstdint>
#include <vector>

#include "patch/port_type.h"

struct SViewOptions;

// The title bar across the top of every panel.
inline constexpr int kTitleHeight = 15;
// The picture button when the artwork gives no size.
inline constexpr QSize kPictureButtonSize{23, 23};
// The ">>" button of a macro's inner input and output modules.
inline constexpr QSize kBoundaryButtonSize{20, 22};
inline constexpr int kInnerInputButtonLeft = 5;
inline constexpr int kInnerOutputButtonLeft = 34;
inline constexpr int kBoundaryButtonTop = 16;

// Zoom limits of the canvas, as scale factors.
inline constexpr double kMinZoom = 0.25;
inline constexpr double kMaxZoom = 4.0;
// One step of Ctrl+plus, Ctrl+minus or of the wheel.
inline constexpr double kZoomStep = 1.25;
// Grid dots closer than this many device pixels are not drawn, so that panning stays fast.
inline constexpr double kMinGridSpacing = 8.0;

// A file may hold any rectangle; panels and connectors are never drawn larger than this.
inline constexpr int kMaxItemExtent = 4096;
// The drawn width or height of a rectangle side from `from` to `to`.
int ItemExtent(int from, int to);

// The delete button in the title bar of a panel `panelWidth` points wide.
QRect DeleteButtonRect(int panelWidth);
// The cross on a delete button of the given size.
std::vector<QLine> DeleteCross(QSize button);
// A release counts only strictly inside an item of `size` (the border itself is outside).
bool StrictlyInside(QPointF point, QSizeF size);

// The pixels a connector of `size` sets in its colour, as runs of whole pixels: the frame open
// towards the wire, the plug (filled when `wired`) and, for poly ports, the four extra strokes.
std::vector<QRect> ConnectorFace(QSize size, bool input, bool poly, bool wired);
// Left margin of a connector's caption of `length` characters.
int CaptionMargin(bool input, int length);

// The first multiple of `grid` at or after `from`.
int FirstGridLine(double from, int grid);
// Whether grid dots `grid` points apart are drawn at `zoom` (device pixels per point).
bool GridVisibleAt(int grid, double zoom);

double ClampZoom(double zoom);

// A colour of the option records (red in the lowest byte).
QColor StoredToColor(std::int32_t stored);
// The colour of wires of a signal kind.
QColor WireColor(const SViewOptions& options, TSignalKind kind);

// The cursor (100 to 102, or 0 for the arrow) that shows what dropping a wire would do.
int WireDropCursor(int dropClass);
