// The connector of one port on a module's panel: its face, caption and hint, and the mouse
// gestures that start and end at it (wiring drag, right-button removal, the double-click
// constant). The connector knows its port by list and key and finds it through its panel's
// module each time, so that it never holds a port that an edit could remove.
#pragma once

#include <QGraphicsObject>
#include <string>

class TEinAusgang;
class TModulePanelItem;

class TPortItem : public QGraphicsObject {
 public:
  enum { Type = UserType + 2 };

  TPortItem(TModulePanelItem* panel, bool input, std::string key, bool editable);

  // The port shown, or null when it no longer exists.
  TEinAusgang* Port() const;
  // Takes position and size from the port again and repaints.
  void Sync();
  // The tooltip, made when it is shown: what the port is and, for a wired input, which module
  // feeds it.
  QString ToolTip() const;

  // Draws the connector at the painter's origin; its panel calls it, so that a panel and its
  // connectors are one cached picture.
  void PaintFace(QPainter& painter) const;

  int type() const override { return Type; }
  QRectF boundingRect() const override;
  // The connector has no drawing of its own (see PaintFace).
  void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}

 protected:
  void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;

 private:
  // A macro's connector is filled while the inner module behind it is active.
  bool ShowsActiveInside() const;
  bool IsWired(const TEinAusgang& port) const;

  TModulePanelItem* panel_;
  bool input_;
  std::string key_;
  QSizeF size_;
};
