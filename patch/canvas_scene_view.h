// The scene of one module list's canvas: it paints what lies behind and over the panels (the
// background tiles, the grid dots, the wires, and the overlay of the rubber band and the rubber
// wire) and carries the wiring gesture from the connector where it starts to the drop. The scene
// knows the start of a wire by module key and port key, and asks the model for the rest.
#pragma once

#include <QGraphicsScene>
#include <optional>
#include <string>
#include <unordered_set>

#include "patch/wire_drop.h"

class TAusgang;
class TEinAusgang;
class TModuleListe;

class TCanvasScene : public QGraphicsScene {
 public:
  explicit TCanvasScene(QObject* parent = nullptr);

  void SetList(TModuleListe* list) { list_ = list; }
  TModuleListe* List() const { return list_; }

  // The wiring gesture: started on a connector, followed by the mouse, dropped.
  void BeginWire(const TEinAusgang& start, QPointF scenePos);
  void MoveWire(QPointF scenePos);
  void EndWire(QPointF scenePos);
  bool IsWiring() const { return wire_.has_value(); }
  // The connector under `scenePos`, other than the one the wire starts at.
  TEinAusgang* PortAt(QPointF scenePos) const;

  // The rubber band from the press point to the mouse; none when not selecting.
  void SetBand(std::optional<QRectF> band);

  // The screen cursor of all views (100 to 104; 0 for the arrow), and the last one set.
  void SetCursorNumber(int number);
  int CursorNumber() const { return cursorNumber_; }

  // Which outputs feed at least one input (their plugs are drawn filled); gathered again on
  // every change of the wires, so that painting a connector walks no list.
  void GatherFedOutputs();
  bool Feeds(const TAusgang& output) const { return fedOutputs_.contains(&output); }

  // The scene grows to hold every panel, with a margin to drop new ones beyond.
  void GrowToInclude(const QRectF& rect);
  // Fits the scene to the panels again (after loading or a larger change).
  void FitToItems();

 protected:
  void drawBackground(QPainter* painter, const QRectF& rect) override;
  void drawForeground(QPainter* painter, const QRectF& rect) override;

 private:
  struct SWireStart {
    std::string module;
    bool input;
    std::string port;
  };
  TEinAusgang* WireStart() const;
  void PaintTiles(QPainter& painter, const QRectF& rect) const;
  void PaintGrid(QPainter& painter, const QRectF& rect) const;
  void PaintWires(QPainter& painter, const QRectF& rect) const;
  void PaintOverlay(QPainter& painter) const;

  TModuleListe* list_ = nullptr;
  std::optional<SWireStart> wire_;
  QPointF looseEnd_;
  std::optional<QRectF> band_;
  int cursorNumber_ = 0;
  // Compared by address only, never followed.
  std::unordered_set<const TAusgang*> fedOutputs_;
};
