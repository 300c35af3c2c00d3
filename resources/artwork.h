// The pictures, lamps, cursors and backgrounds drawn for this program: SVG files in the program's
// resources, looked up by the names the model stores (BITMAP_..., LAMPE_AN, ...). Every picture
// has a size in unzoomed points, its SVG width and height; painting renders the vector image at
// the painter's scale, so pictures stay sharp at any zoom and device pixel ratio.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

class QPainter;
class QRectF;

// Size of the picture `name` in points; an empty size when there is no such picture.
QSize ArtworkSize(const QString& name);
// Draws `name` scaled into `target`; draws nothing for an unknown name.
void PaintArtwork(QPainter& painter, const QRectF& target, const QString& name);
// The picture rendered at its size for `devicePixelRatio`; a null pixmap for an unknown name.
QPixmap ArtworkPixmap(const QString& name, qreal devicePixelRatio = 1.0);
// `name` as an icon (the program's icon "zelmar", the tool bar's "action-..."), rendered sharp
// at the sizes windows, tool bars and menus ask for; a null icon for an unknown name.
QIcon ArtworkIcon(const QString& name);
// The screen cursors: 100 the wire fits, 101 dropping removes the wire, 102 the wire does not
// fit, 103 the hand of panning, 104 the rubber band. Any other number gives the arrow.
QCursor ArtworkCursor(int number);
