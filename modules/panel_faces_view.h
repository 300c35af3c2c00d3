// The controls that some kinds draw on their panels below the title bar, and the mouse on them:
// the constant's scroll bar, value and limits; the fader's slider with its value and limits;
// the text item's note; the level meter. Positions are the panels' own points.
#pragma once

#include <QPointF>

class QPainter;
class TModul;

// Draws the kind's controls; nothing for kinds without any.
void PaintPanelFace(QPainter& painter, const TModul& module);

// A press at `at`: true when it lies on a control that follows the mouse (scroll bar, slider),
// which then takes the position; further moves go to DragPanelFace until the release.
bool PressPanelFace(TModul& module, QPointF at);
void DragPanelFace(TModul& module, QPointF at);
