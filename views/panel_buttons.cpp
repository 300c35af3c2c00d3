#include "views/panel_buttons.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>

#include "resources/artwork.h"
#include "views/canvas_geometry.h"
#include "views/module_panel.h"

namespace {

// Shades of the buttons' sunken frame while they are held.
const QColor kShadow(64, 64, 64);
const QColor kLight(255, 255, 255);

void PaintPressedFrame(QPainter& painter, QSizeF size) {
  painter.setPen(kShadow);
  painter.drawLine(QPointF(0.5, 0.5), QPointF(size.width() - 0.5, 0.5));
  painter.drawLine(QPointF(0.5, 0.5), QPointF(0.5, size.height() - 0.5));
  painter.setPen(kLight);
  painter.drawLine(QPointF(size.width() - 0.5, 0.5),
                   QPointF(size.width() - 0.5, size.height() - 0.5));
  painter.drawLine(QPointF(0.5, size.height() - 0.5),
                   QPointF(size.width() - 0.5, size.height() - 0.5));
}

}  // namespace

TPanelButtonItem::TPanelButtonItem(TModulePanelItem* panel, QSizeF size)
    : QGraphicsItem(panel), panel_(panel), size_(size) {
  setFlag(ItemHasNoContents);
  setAcceptedMouseButtons(Qt::LeftButton);
}

void TPanelButtonItem::SetSize(QSizeF size) {
  if (size == size_) return;
  prepareGeometryChange();
  size_ = size;
}

void TPanelButtonItem::mousePressEvent(QGraphicsSceneMouseEvent*) {
  pressed_ = true;
  panel_->update();
}

void TPanelButtonItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event) {
  pressed_ = false;
  panel_->update();
  if (StrictlyInside(event->pos(), size_)) Clicked();
}

TDeleteButtonItem::TDeleteButtonItem(TModulePanelItem* panel)
    : TPanelButtonItem(panel, DeleteButtonRect(0).size()) {
  setToolTip(QStringLiteral("delete Module"));
}

void TDeleteButtonItem::PaintFace(QPainter& painter) const {
  if (IsPressed()) PaintPressedFrame(painter, boundingRect().size());
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(Qt::black, 1));
  for (const QLine& line : DeleteCross(boundingRect().size().toSize())) {
    painter.drawLine(QLineF(line).translated(0.5, 0.5));
  }
}

// The deletion is posted, so that the panel is not destroyed inside the button's own event.
void TDeleteButtonItem::Clicked() { Panel()->PostDelete(); }

TPictureButtonItem::TPictureButtonItem(TModulePanelItem* panel, QString picture, QString caption,
                                       QSizeF size)
    : TPanelButtonItem(panel, size), picture_(std::move(picture)), caption_(std::move(caption)) {}

void TPictureButtonItem::PaintFace(QPainter& painter) const {
  const QRectF area = boundingRect();
  if (!caption_.isEmpty()) {
    painter.fillRect(area, QColor(212, 208, 200));
    painter.setPen(Qt::black);
    painter.drawText(area, Qt::AlignCenter, caption_);
  } else {
    PaintArtwork(painter, area, picture_);
  }
  if (IsPressed()) PaintPressedFrame(painter, area.size());
}

void TPictureButtonItem::Clicked() { Panel()->OpenDialog(); }
