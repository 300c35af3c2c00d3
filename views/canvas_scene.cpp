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

void TCanvasScene::BeginWire(const TEinAusgang& start, QPointF scenePos) {
  TModulArbeiten* module = start.OwnerModule();
  if (list_ == nullptr || module == nullptr) return;
  wire_ = SWireStart{list_->KeyOf(module), start.Type().isInput, start.Key()};
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
  auto* module = dynamic_cast<TModulArbeiten*>(list_->Get(wire_->module).get());
  if (module == nullptr) return nullptr;
  TEinAusgangListe& ports = wire_->input ? static_cast<TEinAusgangListe&>(*module->InputList)
                                         : static_cast<TEinAusgangListe&>(*module->OutputList);
  return dynamic_cast<TEinAusgang*>(ports.Get(wire_->port).get());
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

void TCanvasScene::SyncWires() {
  fedOutputs_.clear();
  std::map<TWireKey, SWire> kept;
  // Only the structure of a sound or macro shows wires; the panel page does not.
  if (dynamic_cast<TModuleListeArbeiten*>(list_) != nullptr) {
    for (const auto& [key, child] : list_->Children()) {
      auto* module = dynamic_cast<TModulArbeiten*>(child.get());
      if (module == nullptr) continue;
      for (const auto& [portKey, port] : module->InputList->Children()) {
        auto* input = dynamic_cast<TEingang*>(port.get());
        const TAusgang* source = input ? input->GetSource() : nullptr;
        if (source == nullptr) continue;
        fedOutputs_.insert(source);
        const TWireKey wireKey(key, portKey);
        const auto found = wires_.find(wireKey);
        TWireItem* item = found != wires_.end() ? found->second.item : nullptr;
        if (item != nullptr) {
          wires_.erase(found);
        } else {
          item = new TWireItem;
          addItem(item);
        }
        PlaceWire(*item, *input);
        kept.emplace(wireKey, SWire{input->ModuleName->value, item});
      }
    }
  }
  for (const auto& [key, wire] : wires_)
    delete wire.item;
  wires_ = std::move(kept);
}

void TCanvasScene::SyncWiresOf(const std::string& moduleKey) {
  for (const auto& [key, wire] : wires_) {
    if (key.first != moduleKey && wire.source != moduleKey) continue;
    if (const TEingang* input = InputAt(key)) PlaceWire(*wire.item, *input);
  }
}

const TWireItem* TCanvasScene::WireInto(const std::string& moduleKey,
                                        const std::string& port) const {
  const auto found = wires_.find(TWireKey(moduleKey, port));
  return found != wires_.end() ? found->second.item : nullptr;
}

TEingang* TCanvasScene::InputAt(const TWireKey& key) const {
  auto* module = list_ ? dynamic_cast<TModulArbeiten*>(list_->Get(key.first).get()) : nullptr;
  return module ? dynamic_cast<TEingang*>(module->InputList->Get(key.second).get()) : nullptr;
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

bool TCanvasScene::BackgroundOutdated() const {
  return drawnBackground_ && *drawnBackground_ != CurrentBackgroundLook();
}

void TCanvasScene::drawBackground(QPainter* painter, const QRectF& rect) {
  const SBackgroundLook look = CurrentBackgroundLook();
  drawnBackground_ = look;
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
