#include "views/wire_item.h"

#include <QPainter>
#include <limits>

TWireItem::TWireItem() {
  setAcceptedMouseButtons(Qt::NoButton);
  // Wires lie over every panel, however often panels come to the front.
  setZValue(std::numeric_limits<qreal>::max());
}

void TWireItem::SetLine(const QPolygonF& line, QColor colour, bool rightAngled) {
  if (line == line_ && colour == colour_ && rightAngled == rightAngled_) return;
  if (line != line_) {
    prepareGeometryChange();
    line_ = line;
    bounds_ = line_.boundingRect().adjusted(-1, -1, 1, 1);
  }
  colour_ = colour;
  rightAngled_ = rightAngled;
  update();
}

void TWireItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
  painter->setRenderHint(QPainter::Antialiasing, !rightAngled_);
  painter->setPen(QPen(colour_, 1));
  painter->drawPolyline(line_);
}
