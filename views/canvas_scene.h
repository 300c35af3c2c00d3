// The scene of one module list's canvas: one panel item per module and one wire item per wired
// input, kept equal to the list through its change channel; it paints what lies behind and over
// the panels (the background tiles, the grid dots, and the overlay of the rubber band and the
// rubber wire) and carries the wiring gesture from the connector where it starts to the drop. The
// scene knows modules, wires and the start of a wire by module key and port key, and asks the
// model for the rest.
#pragma once

#include <QGraphicsScene>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "patch/list_changes.h"
#include "patch/wire_drop.h"

class TEinAusgang;
class TEingang;
class TModuleListe;
class TModulePanelItem;
class TWireItem;

class TCanvasScene : public QGraphicsScene, private TListObserver {
 public:
  explicit TCanvasScene(QObject* parent = nullptr);
  ~TCanvasScene() override;

  // Shows the modules of `list` (null: none), editable or as samples: builds an item for every
  // module and wire, and follows the list's changes from then on.
  void ShowList(TModuleListe* list, bool editable);
  TModuleListe* List() const { return list_; }
  // The panel of the module under `key`, or null.
  TModulePanelItem* PanelOf(const std::string& key) const;

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

  // Module `moduleKey` moved or changed size: only the wires at its connectors take a new path.
  void SyncWiresOf(const std::string& moduleKey);
  // Whether output `port` of module `moduleKey` feeds at least one input (its plug is filled).
  bool Feeds(const std::string& moduleKey, const std::string& port) const;
  // The wire into input `port` of module `moduleKey`, or null.
  const TWireItem* WireInto(const std::string& moduleKey, const std::string& port) const;
  int WireCount() const { return static_cast<int>(wires_.size()); }
  // Every panel, by module key.
  const std::map<std::string, TModulePanelItem*>& Panels() const { return panels_; }

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
  // Module key and port key.
  using TPortKey = std::pair<std::string, std::string>;
  // A wire item and the output that feeds it.
  struct SWire {
    TPortKey source;
    TWireItem* item;
  };
  // What the background depends on besides the scene position.
  struct SBackgroundLook {
    std::int32_t colour = 0;
    std::int32_t gridColour = 0;
    int gridSize = 0;
    bool grid = false;
    bool operator==(const SBackgroundLook&) const = default;
  };
  void ListChanged(const SListChange& change) override;
  void AddPanel(const std::string& key);
  void RemovePanel(const std::string& key);
  // Every item goes; the list is no longer followed.
  void Clear();
  // Brings the wire into `input` up to date with the model: made, moved, or dropped.
  void SyncWire(const TPortKey& input);
  // The same for every input of the module, and every wire it feeds or waits to feed.
  void SyncWiresAt(const std::string& moduleKey);
  // The count of inputs `source` feeds changes by `change`; its plug is redrawn when it fills or
  // empties.
  void Refeed(const TPortKey& source, int change);
  void RepaintPorts(const std::string& moduleKey) const;
  void RecolourAll();
  TEinAusgang* WireStart() const;
  TEingang* InputAt(const TPortKey& key) const;
  SBackgroundLook CurrentBackgroundLook() const;
  void PaintTiles(QPainter& painter, const QRectF& rect) const;
  void PaintGrid(QPainter& painter, const QRectF& rect) const;
  void PaintOverlay(QPainter& painter) const;
  // The part of the scene the overlay covers now.
  QRectF OverlayBounds() const;

  TModuleListe* list_ = nullptr;
  bool editable_ = true;
  std::map<std::string, TModulePanelItem*> panels_;
  std::map<TPortKey, SWire> wires_;
  // The inputs each module's outputs feed, and the inputs whose wire names a module that is not
  // (yet) in the list, by the named module's key: when it comes, their wires appear.
  std::map<std::string, std::set<TPortKey>> fedBy_;
  std::map<std::string, std::set<TPortKey>> waitingFor_;
  std::map<TPortKey, std::string> waitingName_;
  // How many inputs each output feeds.
  std::map<TPortKey, int> feeds_;
  std::optional<SWireStart> wire_;
  QPointF looseEnd_;
  std::optional<QRectF> band_;
  int cursorNumber_ = 0;
};
