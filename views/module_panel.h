// A module's panel on the editor canvas: frame in the active or inactive colour, title bar with
// the title and the delete button, the picture button and the connectors. The item reaches its
// module only through its view adapter, which the module owns: when the module drops its view
// (deleted, undone, window closed) the adapter detaches the item and schedules its removal, so
// the item never holds a module that an edit has freed.
#pragma once

#include <QGraphicsObject>
#include <QPointer>
#include <vector>

#include "patch/module_view.h"
#include "views/panel_faces.h"

class TModul;
class TPropTyp;
class TPortItem;
class TDeleteButtonItem;
class TPictureButtonItem;

class TModulePanelItem : public QGraphicsObject {
 public:
  enum { Type = UserType + 1 };

  explicit TModulePanelItem(bool editable);

  // The module shown, or null once its view has been dropped.
  TModul* Module() const { return module_; }
  // Shows `module`, or with null forgets it; the view adapter calls it.
  void Attach(TModul* module);
  bool IsEditable() const { return editable_; }

  // Brings geometry, title, mark and colours up to date after `property` changed (null: all).
  void Refresh(const TPropTyp* property);
  // The module's ports changed: the connectors are built again.
  void RebuildPorts();
  // Repaints the connectors (their plugs show whether they are wired).
  void RefreshPorts();
  const std::vector<TPortItem*>& Ports() const { return ports_; }

  // Posts the deletion of the module as one undoable step, to run after the current event.
  void PostDelete();
  // The picture button: the module's dialog in an editable view, its help otherwise.
  void OpenDialog();

  int type() const override { return Type; }
  QRectF boundingRect() const override { return QRectF(QPointF(0, 0), size_); }
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

 protected:
  void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
  // Resize cursors over the edges of resizable items.
  void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;

 private:
  // Takes position and size from the module's Rect; true when the size changed.
  bool SyncGeometry();
  void BuildButtons();
  void PaintTitleBar(QPainter& painter) const;
  // The connectors and buttons, which draw nothing themselves.
  void PaintChildren(QPainter& painter) const;
  // While a title bar is dragged out of the viewport, the canvas follows the panel.
  void FollowWithView(QPoint screenPos);

  TModul* module_ = nullptr;
  bool editable_;
  bool dragging_ = false;
  // What a press below the title bar took hold of (scroll bar, slider, resize edge).
  SFaceGrab faceGrab_;
  QSizeF size_;
  std::vector<TPortItem*> ports_;
  TDeleteButtonItem* deleteButton_ = nullptr;
  TPictureButtonItem* pictureButton_ = nullptr;
};

// The module's view: forwards the model's notices to the item and releases it when dropped.
class TModulePanelView : public TModuleView {
 public:
  TModulePanelView(TModul& module, TModulePanelItem* item);
  ~TModulePanelView() override;

  void PropertyChanged(const TPropTyp* property) override;
  void ActiveChanged() override;
  void PortsChanged() override;

  TModulePanelItem* Item() const { return item_; }

 private:
  QPointer<TModulePanelItem> item_;
};

// Hides `item` and deletes it after the current event, so that an item can be removed from
// inside its own event handler.
void ReleaseItem(QGraphicsObject* item);
