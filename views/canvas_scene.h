// The scene of one module list's canvas: it paints what lies behind and over the panels (the
// background tiles, the grid dots, and the overlay of the rubber band and the rubber wire), keeps
// one wire item per wired input, and carries the wiring gesture from the connector where it
// starts to the drop. The scene knows wires and the start of a wire by module key and port key,
// and asks the model for the rest.
#pragma once

#include <QGraphicsScene>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>

#include "patch/wire_drop.h"

class TAusgang;
class TEinAusgang;
class TEingang;
class TModuleListe;
class TWireItem;

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

  // Brings the wire items and the outputs that feed at least one input (their plugs are drawn
  // filled) up to date after any change of the wires, so that painting walks no list.
  void SyncWires();
  // Module `moduleKey` moved or changed size: only the wires at its connectors take a new path.
  void SyncWiresOf(const std::string& moduleKey);
  bool Feeds(const TAusgang& output) const { return fedOutputs_.contains(&output); }
  // The wire into input `port` of module `moduleKey`, or null.
  const TWireItem* WireInto(const std::string& moduleKey, const std::string& port) const;

  // Whether the background drawn last used other colours or another grid than the options now
  // give (a cached background must then be drawn again).
  bool BackgroundOutdated() const;

  // The scene grows to hold every panel, with a margin to drop new ones beyond.
  void GrowToInclude(const QRectF& rect);
  // Fits the scene to the panels again (after loading or a larger change).
  void FitToItems();

 protected:
  void drawBackground(QPainter* painter, const QRectF& rect) override;
  void drawForeground(QPainter* painter, const QRectF& rect) override;
  // A connector's tooltip is made when it is shown, so that it tells the wiring of the moment.
  void helpEvent(QGraphicsSceneHelpEvent* event) override;

 private:
  struct SWireStart {
    std::string module;
    bool input;
    std::string port;
  };
  // A wire item and the key of the module that feeds it.
  struct SWire {
    std::string source;
    TWireItem* item;
  };
  // Input module key and port key.
  using TWireKey = std::pair<std::string, std::string>;
  // What the background depends on besides the scene position.
  struct SBackgroundLook {
    std::int32_t colour = 0;
    std::int32_t gridColour = 0;
    int gridSize = 0;
    bool grid = false;
    bool operator==(const SBackgroundLook&) const = default;
  };
  TEinAusgang* WireStart() const;
  TEingang* InputAt(const TWireKey& key) const;
  SBackgroundLook CurrentBackgroundLook() const;
  void PaintTiles(QPainter& painter, const QRectF& rect) const;
  void PaintGrid(QPainter& painter, const QRectF& rect) const;
  void PaintOverlay(QPainter& painter) const;
  // The part of the scene the overlay covers now.
  QRectF OverlayBounds() const;

  TModuleListe* list_ = nullptr;
  std::optional<SWireStart> wire_;
  QPointF looseEnd_;
  std::optional<QRectF> band_;
  int cursorNumber_ = 0;
  // Compared by address only, never followed.
  std::unordered_set<const TAusgang*> fedOutputs_;
  std::map<TWireKey, SWire> wires_;
  std::optional<SBackgroundLook> drawnBackground_;
};
