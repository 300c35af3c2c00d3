// An editor window in the multiple-document area and its window description: the description's
// place, size and state are applied when the window opens, and follow the window while the user
// moves, resizes, minimises or maximises it, so that a saved sound reopens its windows as they
// were left.
#pragma once

#include <QList>
#include <QRect>

class QMdiSubWindow;
class TFenster;

// The available areas of the screens (without panels and docks), the primary screen's first:
// where a top-level window is kept.
QList<QRect> ScreenAreas();

// `description` must outlive `frame`.
void PlaceByDescription(QMdiSubWindow& frame, TFenster& description);
