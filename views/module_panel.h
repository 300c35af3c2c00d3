// A module's panel on the editor canvas: frame in the active or inactive colour, title bar with
// the title and the delete button, the picture button and the connectors. The item knows its
// module by key and finds it in its scene's list each time; the scene makes, updates and releases
// it as the list's change channel tells, so it never holds a module that an edit has freed.
#pragma once

#include <QGraphicsObject>
#include <string>
#include <vector>

#include "views/panel_faces.h"

class TCanvasScene;
class TModul;
class TModuleListe;
class TPropTyp;
class TPortItem;
class TDeleteButtonItem;
class TPictureButtonItem;

class TModulePanelItem : public QGraphicsObject {
 public:
  enum { Type = UserType + 1 };

  // Shows the module under `key` in the scene's list.
  TModulePanelItem(std::string key, bool editable);

  // The module shown, or null once it left the list (or the item was released).
  TModul* Module() const;
  const std::string& Key() const { return key_; }
  // The list the item's scene shows, or null.
  TModuleListe* List() const;
  // Builds buttons and connectors and takes the module's look; the scene calls it once the item
  // is in the scene.
  void Build();
  // Forgets the module: the item shows nothing more and is deleted after the current event.
  void Release();
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
  bool SyncGeometry(const TModul& module);
  void BuildButtons(const TModul& module);
  void PaintTitleBar(QPainter& painter, const TModul& module) const;
  // The connectors and buttons, which draw nothing themselves.
  void PaintChildren(QPainter& painter) const;
  // While a title bar is dragged out of the viewport, the canvas follows the panel.
  void FollowWithView(QPoint screenPos);

  std::string key_;
  bool released_ = false;
  bool editable_;
  bool dragging_ = false;
  // What a press below the title bar took hold of (scroll bar, slider, resize edge).
  SFaceGrab faceGrab_;
  QSizeF size_;
  std::vector<TPortItem*> ports_;
  TDeleteButtonItem* deleteButton_ = nullptr;
  TPictureButtonItem* pictureButton_ = nullptr;
};

// Hides `item` and deletes it after the current event, so that an item can be removed from
// inside its own event handler.
void ReleaseItem(QGraphicsObject* item);
