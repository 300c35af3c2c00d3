// The controls that some kinds draw on their panels below the title bar, and the mouse on them:
// the constant's scroll bar, value and limits; the fader's slider with its value and limits;
// the text item's note; the level meter; the lamp of the modules that own a device. Positions are
// the panels' own points.
#pragma once

#include <QPointF>
#include <Qt>

class QPainter;
class TModul;

// Draws the kind's controls; nothing for kinds without any.
void PaintPanelFace(QPainter& painter, const TModul& module);

// What a press on a panel's controls took hold of.
struct SFaceGrab {
  bool taken = false;  // a scroll bar, slider or resize edge now follows the mouse
  bool resizing = false;
  int zone = 0;  // the resize zone (TResizeZone) of a resizable item
};

// A press at `at`; further moves go to DragPanelFace and the release to ReleasePanelFace.
SFaceGrab PressPanelFace(TModul& module, QPointF at);
void DragPanelFace(TModul& module, const SFaceGrab& grab, QPointF at);
void ReleasePanelFace(TModul& module, const SFaceGrab& grab);

// Whether the kind's controls change the mouse cursor where it points (the resize edges).
bool FaceHasCursors(const TModul& module);
// The cursor shape over `at`: a resize arrow on an edge that resizes, else the arrow.
Qt::CursorShape FaceCursorAt(const TModul& module, QPointF at);
