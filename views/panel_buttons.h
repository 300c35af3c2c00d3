// The two buttons on a module's panel: the delete button in the title bar, drawn as a cross,
// and the picture button that opens the module's dialog. Both act on release only, and only
// when the release lies strictly inside the button.
#pragma once

#include <QGraphicsItem>
#include <QString>

class TModulePanelItem;

// Base of the panel's flat buttons: pressed look while held, the action on a release inside.
// The panel draws its buttons (PaintFace), so that a panel is one cached picture.
class TPanelButtonItem : public QGraphicsItem {
 public:
  TPanelButtonItem(TModulePanelItem* panel, QSizeF size);

  void SetSize(QSizeF size);
  QRectF boundingRect() const override { return QRectF(QPointF(0, 0), size_); }
  bool IsPressed() const { return pressed_; }
  // Draws the button at the painter's origin.
  virtual void PaintFace(QPainter& painter) const = 0;
  void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}

 protected:
  // What a click does; runs after the release.
  virtual void Clicked() = 0;
  TModulePanelItem* Panel() const { return panel_; }

  void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

 private:
  TModulePanelItem* panel_;
  QSizeF size_;
  bool pressed_ = false;
};

class TDeleteButtonItem : public TPanelButtonItem {
 public:
  explicit TDeleteButtonItem(TModulePanelItem* panel);
  void PaintFace(QPainter& painter) const override;

 protected:
  void Clicked() override;
};

// Shows the module's picture, or the caption ">>" of a macro's inner input and output modules.
class TPictureButtonItem : public TPanelButtonItem {
 public:
  TPictureButtonItem(TModulePanelItem* panel, QString picture, QString caption, QSizeF size);
  void PaintFace(QPainter& painter) const override;

 protected:
  void Clicked() override;

 private:
  QString picture_;
  QString caption_;
};
