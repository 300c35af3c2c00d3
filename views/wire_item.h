// One wire on the editor canvas, from an output's connection point to an input's, as an item of
// its own: when a module moves only its own wires take a new path, and the view repaints no more
// than the old and the new place of each. The scene keeps the item by the input's module and
// port keys and gives it its points; the item holds nothing of the model.
#pragma once

#include <QColor>
#include <QGraphicsItem>
#include <QPolygonF>

class TWireItem : public QGraphicsItem {
 public:
  enum { Type = UserType + 4 };

  TWireItem();

  // The wire's corner points (scene points) and colour; `rightAngled` lines are drawn without
  // smoothing, crisp on the pixels they cover.
  void SetLine(const QPolygonF& line, QColor colour, bool rightAngled);
  const QPolygonF& Line() const { return line_; }

  int type() const override { return Type; }
  QRectF boundingRect() const override { return bounds_; }
  // A wire is never hit: presses and drops reach the panels and the canvas beneath it.
  QPainterPath shape() const override { return {}; }
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

 private:
  QPolygonF line_;
  QColor colour_;
  bool rightAngled_ = true;
  QRectF bounds_;
};
