#include "views/canvas_scene.h"

#include <QGraphicsSceneHelpEvent>
#include <QGraphicsView>
#include <QPaintDevice>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <vector>

#include "patch/modul_arbeiten.h"
#include "patch/module_list.h"
#include "patch/ports.h"
#include "platform/options.h"
#include "resources/artwork.h"
#include "views/canvas_geometry.h"
#include "views/module_panel.h"
#include "views/port_connector.h"
#include "views/wire_item.h"

namespace {

// Room beyond the last panel, so that modules can be dropped and dragged there.
constexpr qreal kSceneMargin = 200;
constexpr QRectF kMinimalScene(0, 0, 1, 1);
// The overlay's dotted lines reach this far beyond the rectangle they frame.
constexpr qreal kOverlayReach = 2;
const QColor kOverlayGrey(128, 128, 128);
const QString kBackgroundTile = QStringLiteral("BITMAP_BACKGROUND");

// Device pixels per scene point of the painter.
qreal DeviceScale(const QPainter& painter) {
  const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
  return std::abs(painter.transform().m11()) * ratio;
}

// The background tile, rendered once per device scale.
const QPixmap& BackgroundTile(qreal scale) {
  static qreal renderedScale = 0;
  static QPixmap tile;
  if (scale != renderedScale) {
    tile = ArtworkPixmap(kBackgroundTile, scale);
    renderedScale = scale;
  }
  return tile;
}

// Lines of one point width centred on the pixels they cover.
QPointF PixelCentre(TPoint point) { return QPointF(point.x + 0.5, point.y + 0.5); }

// Gives `item` the path and colour of the wire into `input`.
void PlaceWire(TWireItem& item, const TEingang& input) {
  const TAusgang* source = input.GetSource();
  if (source == nullptr) return;
  const SViewOptions& options = ViewOptions();
  QPolygonF line;
  for (const TPoint& point :
       WirePath(source->ConnectionPoint(), input.ConnectionPoint(), options.directLines))
    line << PixelCentre(point);
  item.SetLine(line, WireColor(options, input.Type().kind), !options.directLines);
}

}  // namespace

TCanvasScene::TCanvasScene(QObject* parent) : QGraphicsScene(parent) {
  setItemIndexMethod(NoIndex);
  setSceneRect(kMinimalScene);
}

TCanvasScene::~TCanvasScene() { ShowList(nullptr, editable_); }

void TCanvasScene::ShowList(TModuleListe* list, bool editable) {
  if (list_ != nullptr) list_->Changes().Unsubscribe(*this);
  Clear();
  list_ = list;
  editable_ = editable;
  if (list_ == nullptr) return;
  list_->Changes().Subscribe(*this);
  for (const auto& [key, child] : list_->Children())
    AddPanel(key);
  for (const auto& [key, child] : list_->Children())
    SyncWiresAt(key);
}

void TCanvasScene::Clear() {
  for (const auto& [key, panel] : panels_)
    panel->Release();
  for (const auto& [key, wire] : wires_)
    delete wire.item;
  panels_.clear();
  wires_.clear();
  fedBy_.clear();
  waitingFor_.clear();
  waitingName_.clear();
  feeds_.clear();
  wire_.reset();
  band_.reset();
}

TModulePanelItem* TCanvasScene::PanelOf(const std::string& key) const {
  const auto found = panels_.find(key);
  return found != panels_.end() ? found->second : nullptr;
}

void TCanvasScene::ListChanged(const SListChange& change) {
  TModulePanelItem* panel = PanelOf(change.module);
  switch (change.kind) {
    case TListChangeKind::ModuleAdded:
      AddPanel(change.module);
      return SyncWiresAt(change.module);
    case TListChangeKind::ModuleRemoved:
      RemovePanel(change.module);
      return SyncWiresAt(change.module);
    case TListChangeKind::ModuleChanged:
      if (panel != nullptr) panel->Refresh(change.property);
      return;
    case TListChangeKind::PortsChanged:
      if (panel != nullptr) panel->RebuildPorts();
      return SyncWiresAt(change.module);
    case TListChangeKind::WireAdded:
    case TListChangeKind::WireRemoved:
      return SyncWire({change.module, change.port});
    case TListChangeKind::ActiveChanged:
      return RepaintPorts(change.module);
    case TListChangeKind::ColoursChanged:
      return RecolourAll();
  }
}

void TCanvasScene::AddPanel(const std::string& key) {
  if (PanelOf(key) != nullptr || list_->ModuleAt(key) == nullptr) return;
  auto* panel = new TModulePanelItem(key, editable_);
  addItem(panel);
  panels_.emplace(key, panel);
  panel->Build();
}

void TCanvasScene::RemovePanel(const std::string& key) {
  const auto found = panels_.find(key);
  if (found == panels_.end()) return;
  found->second->Release();
  panels_.erase(found);
}

void TCanvasScene::SyncWiresAt(const std::string& moduleKey) {
  std::set<TPortKey> inputs;
  const auto ofModule = [&moduleKey](const auto& entries, std::set<TPortKey>& into) {
    for (auto at = entries.lower_bound(TPortKey(moduleKey, {}));
         at != entries.end() && at->first.first == moduleKey; ++at)
      into.insert(at->first);
  };
  ofModule(wires_, inputs);
  ofModule(waitingName_, inputs);
  if (auto* module = dynamic_cast<TModulArbeiten*>(list_ ? list_->ModuleAt(moduleKey) : nullptr)) {
    for (const auto& [port, child] : module->InputList->Children())
      inputs.emplace(moduleKey, port);
  }
  for (const auto* fed : {&fedBy_, &waitingFor_}) {
    if (const auto found = fed->find(moduleKey); found != fed->end())
      inputs.insert(found->second.begin(), found->second.end());
  }
  for (const TPortKey& input : inputs)
    SyncWire(input);
}

void TCanvasScene::SyncWire(const TPortKey& key) {
  const TEingang* input = InputAt(key);
  const TAusgang* source = input ? input->GetSource() : nullptr;
  TWireItem* item = nullptr;
  const bool wasWired = wires_.contains(key);
  if (const auto found = wires_.find(key); found != wires_.end()) {
    item = found->second.item;
    const TPortKey& was = found->second.source;
    if (auto fed = fedBy_.find(was.first); fed != fedBy_.end()) {
      fed->second.erase(key);
      if (fed->second.empty()) fedBy_.erase(fed);
    }
    Refeed(was, -1);
    wires_.erase(found);
  }
  if (const auto found = waitingName_.find(key); found != waitingName_.end()) {
    if (auto waiting = waitingFor_.find(found->second); waiting != waitingFor_.end()) {
      waiting->second.erase(key);
      if (waiting->second.empty()) waitingFor_.erase(waiting);
    }
    waitingName_.erase(found);
  }
  if (source != nullptr && dynamic_cast<TModuleListeArbeiten*>(list_) != nullptr) {
    if (item == nullptr) {
      item = new TWireItem;
      addItem(item);
    }
    PlaceWire(*item, *input);
    const TPortKey from(input->ModuleName->value, input->Other->value);
    wires_.emplace(key, SWire{from, item});
    fedBy_[from.first].insert(key);
    Refeed(from, +1);
  } else {
    delete item;
    if (input != nullptr && !input->ModuleName->value.empty()) {
      waitingFor_[input->ModuleName->value].insert(key);
      waitingName_.emplace(key, input->ModuleName->value);
    }
  }
  if (wasWired != wires_.contains(key)) RepaintPorts(key.first);
}

void TCanvasScene::Refeed(const TPortKey& source, int change) {
  int& count = feeds_[source];
  const bool before = count > 0;
  count += change;
  const bool after = count > 0;
  if (count <= 0) feeds_.erase(source);
  if (before != after) RepaintPorts(source.first);
}

void TCanvasScene::RepaintPorts(const std::string& moduleKey) const {
  if (TModulePanelItem* panel = PanelOf(moduleKey)) {
    panel->RefreshPorts();
    panel->update();
  }
}

void TCanvasScene::RecolourAll() {
  for (const auto& [key, panel] : panels_)
    panel->update();
  for (const auto& [key, wire] : wires_) {
    if (const TEingang* input = InputAt(key)) PlaceWire(*wire.item, *input);
  }
  invalidate(sceneRect(), BackgroundLayer);
}

bool TCanvasScene::Feeds(const std::string& moduleKey, const std::string& port) const {
  return feeds_.contains(TPortKey(moduleKey, port));
}

void TCanvasScene::BeginWire(const TEinAusgang& start, QPointF scenePos) {
  if (list_ == nullptr || start.Owner() == nullptr) return;
  wire_ = SWireStart{start.OwnerKey(), start.Type().isInput, start.Key()};
  looseEnd_ = scenePos;
  update(OverlayBounds());
}

void TCanvasScene::MoveWire(QPointF scenePos) {
  if (!wire_) return;
  const QRectF before = OverlayBounds();
  const TEinAusgang* start = WireStart();
  if (start == nullptr) {
    wire_.reset();
    SetCursorNumber(0);
    return update(before);
  }
  SetCursorNumber(WireDropCursor(ClassifyWireDrop(*start, PortAt(scenePos))));
  looseEnd_ = scenePos;
  update(before | OverlayBounds());
}

void TCanvasScene::EndWire(QPointF scenePos) {
  if (!wire_) return;
  TEinAusgang* start = WireStart();
  TEinAusgang* target = PortAt(scenePos);
  update(OverlayBounds());
  wire_.reset();
  SetCursorNumber(0);
  if (start != nullptr) DropWire(*start, target);
}

TEinAusgang* TCanvasScene::WireStart() const {
  if (!wire_ || list_ == nullptr) return nullptr;
  if (wire_->input) return list_->InputAt(wire_->module, wire_->port);
  return list_->OutputAt(wire_->module, wire_->port);
}

TEinAusgang* TCanvasScene::PortAt(QPointF scenePos) const {
  const TEinAusgang* start = WireStart();
  for (QGraphicsItem* item : items(scenePos)) {
    if (!item->isVisible()) continue;
    if (item->type() != TPortItem::Type) return nullptr;
    TEinAusgang* port = static_cast<TPortItem*>(item)->Port();
    if (port != start) return port;
  }
  return nullptr;
}

void TCanvasScene::helpEvent(QGraphicsSceneHelpEvent* event) {
  for (QGraphicsItem* item : items(event->scenePos())) {
    if (!item->isVisible()) continue;
    if (item->type() != TPortItem::Type) break;
    QToolTip::showText(event->screenPos(), static_cast<TPortItem*>(item)->ToolTip(),
                       event->widget());
    return event->accept();
  }
  QGraphicsScene::helpEvent(event);
}

void TCanvasScene::SetBand(std::optional<QRectF> band) {
  const QRectF before = OverlayBounds();
  band_ = band;
  update(before | OverlayBounds());
}

QRectF TCanvasScene::OverlayBounds() const {
  QRectF bounds;
  if (band_) bounds = *band_;
  if (const TEinAusgang* start = WireStart(); start != nullptr && wire_) {
    bounds |= QRectF(PixelCentre(start->ConnectionPoint()), looseEnd_).normalized();
  }
  if (bounds.isNull()) return bounds;
  return bounds.adjusted(-kOverlayReach, -kOverlayReach, kOverlayReach, kOverlayReach);
}

void TCanvasScene::SetCursorNumber(int number) {
  if (number == cursorNumber_) return;
  cursorNumber_ = number;
  for (QGraphicsView* view : views()) {
    if (number == 0) {
      view->viewport()->unsetCursor();
    } else {
      view->viewport()->setCursor(ArtworkCursor(number));
    }
  }
}

void TCanvasScene::SyncWiresOf(const std::string& moduleKey) {
  const auto place = [this](const TPortKey& key) {
    const auto found = wires_.find(key);
    const TEingang* input = InputAt(key);
    if (found != wires_.end() && input != nullptr) PlaceWire(*found->second.item, *input);
  };
  for (auto at = wires_.lower_bound(TPortKey(moduleKey, {}));
       at != wires_.end() && at->first.first == moduleKey; ++at)
    place(at->first);
  if (const auto fed = fedBy_.find(moduleKey); fed != fedBy_.end()) {
    for (const TPortKey& key : fed->second)
      place(key);
  }
}

const TWireItem* TCanvasScene::WireInto(const std::string& moduleKey,
                                        const std::string& port) const {
  const auto found = wires_.find(TPortKey(moduleKey, port));
  return found != wires_.end() ? found->second.item : nullptr;
}

TEingang* TCanvasScene::InputAt(const TPortKey& key) const {
  return list_ ? list_->InputAt(key.first, key.second) : nullptr;
}

void TCanvasScene::GrowToInclude(const QRectF& rect) {
  const QRectF grown = sceneRect().united(rect.adjusted(0, 0, kSceneMargin, kSceneMargin));
  if (grown != sceneRect()) setSceneRect(grown);
}

void TCanvasScene::FitToItems() {
  QRectF bounds = kMinimalScene;
  for (QGraphicsItem* item : items()) {
    if (item->type() == TModulePanelItem::Type && item->isVisible()) {
      bounds |= item->sceneBoundingRect();
    }
  }
  setSceneRect(bounds.adjusted(0, 0, kSceneMargin, kSceneMargin));
}

TCanvasScene::SBackgroundLook TCanvasScene::CurrentBackgroundLook() const {
  const SViewOptions& options = ViewOptions();
  // Only the structure of a sound or macro shows the grid; the panel page does not.
  const bool grid = dynamic_cast<TModuleListeArbeiten*>(list_) != nullptr && options.gridVisible;
  return {options.colorBackground, options.gridColor, options.gridSize, grid};
}

void TCanvasScene::drawBackground(QPainter* painter, const QRectF& rect) {
  const SBackgroundLook look = CurrentBackgroundLook();
  painter->fillRect(rect, StoredToColor(look.colour));
  PaintTiles(*painter, rect);
  if (look.grid) PaintGrid(*painter, rect);
}

void TCanvasScene::PaintTiles(QPainter& painter, const QRectF& rect) const {
  const QPixmap& tile = BackgroundTile(DeviceScale(painter));
  if (tile.isNull()) return;
  const QSizeF size = tile.deviceIndependentSize();
  const QPointF offset(std::fmod(rect.left(), size.width()), std::fmod(rect.top(), size.height()));
  painter.drawTiledPixmap(rect, tile,
                          QPointF(offset.x() < 0 ? offset.x() + size.width() : offset.x(),
                                  offset.y() < 0 ? offset.y() + size.height() : offset.y()));
}

void TCanvasScene::PaintGrid(QPainter& painter, const QRectF& rect) const {
  const SViewOptions& options = ViewOptions();
  const int grid = options.gridSize;
  const qreal scale = DeviceScale(painter);
  if (!GridVisibleAt(grid, scale)) return;
  // One cosmetic dot per grid point, one point wide up to two device pixels, so that zoomed
  // grids stay fine; cosmetic points are the painter's fastest primitive.
  std::vector<QPointF> dots;
  for (int y = FirstGridLine(rect.top(), grid); y < rect.bottom(); y += grid) {
    for (int x = FirstGridLine(rect.left(), grid); x < rect.right(); x += grid) {
      dots.emplace_back(x, y);
    }
  }
  painter.setRenderHint(QPainter::Antialiasing, false);
  QPen pen(StoredToColor(options.gridColor), std::clamp(scale, 1.0, 2.0), Qt::SolidLine,
           Qt::SquareCap);
  pen.setCosmetic(true);
  painter.setPen(pen);
  painter.drawPoints(dots.data(), static_cast<int>(dots.size()));
}

void TCanvasScene::drawForeground(QPainter* painter, const QRectF&) { PaintOverlay(*painter); }

void TCanvasScene::PaintOverlay(QPainter& painter) const {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(kOverlayGrey, 0, Qt::DotLine));
  painter.setBrush(Qt::NoBrush);
  if (band_) {
    painter.drawRect(*band_);
    painter.drawRect(band_->adjusted(-1, -1, 1, 1));
  }
  if (const TEinAusgang* start = WireStart(); start != nullptr && wire_) {
    painter.drawLine(PixelCentre(start->ConnectionPoint()), looseEnd_);
  }
}
