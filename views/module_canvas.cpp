#include "views/module_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>

#include "patch/module_list.h"
#include "views/canvas_geometry.h"
#include "views/canvas_scene.h"
#include "views/module_panel.h"

namespace {

constexpr int kBandCursor = 104;
constexpr int kPanningCursor = 103;
// One notch of a mouse wheel.
constexpr double kWheelNotch = 120.0;

}  // namespace

TModuleCanvasView::TModuleCanvasView(QWidget* parent)
    : QGraphicsView(parent), scene_(new TCanvasScene(this)) {
  setScene(scene_);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // A dragged panel and its wires repaint only where they were and are, as one rectangle: the
  // raster engine draws lines into a rectangular clip far faster than into a region. The tiles
  // and the grid are drawn once and scrolled with the view.
  setViewportUpdateMode(BoundingRectViewportUpdate);
  setCacheMode(CacheBackground);
  // The background layer covers the whole viewport; no widget background is filled beneath.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setTransformationAnchor(AnchorUnderMouse);
  setRenderHint(QPainter::TextAntialiasing, true);
  setFocusPolicy(Qt::StrongFocus);
}

TModuleCanvasView::~TModuleCanvasView() { Show(nullptr, kPanelWindowClosing); }

void TModuleCanvasView::Show(TModuleListe* list, int mode) {
  TModuleListe* shown = scene_->List();
  if (shown != nullptr && shown->Canvas == this) shown->SetView(nullptr, mode);
  scene_->SetList(list);
  if (list != nullptr) list->SetView(this, mode);
  scene_->SyncWires();
  resetCachedContent();
  scene_->FitToItems();
}

TModuleListe* TModuleCanvasView::List() const { return scene_->List(); }

void TModuleCanvasView::SetZoom(double zoom) {
  zoom_ = ClampZoom(zoom);
  setTransform(QTransform::fromScale(zoom_, zoom_));
}

void TModuleCanvasView::ZoomBy(double factor) { SetZoom(zoom_ * factor); }

void TModuleCanvasView::FitAll() {
  scene_->FitToItems();
  QRectF bounds;
  for (QGraphicsItem* item : scene_->items()) {
    if (item->type() == TModulePanelItem::Type && item->isVisible()) {
      bounds |= item->sceneBoundingRect();
    }
  }
  if (bounds.isEmpty()) return SetZoom(1.0);
  const QSizeF room = viewport()->size();
  SetZoom(std::min(room.width() / bounds.width(), room.height() / bounds.height()));
  centerOn(bounds.center());
}

void TModuleCanvasView::ScrollBy(int dx, int dy) {
  horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
  verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
}

std::unique_ptr<TModuleView> TModuleCanvasView::CreateModuleView(TModul& module, bool editable) {
  auto* item = new TModulePanelItem(editable);
  scene_->addItem(item);
  return std::make_unique<TModulePanelView>(module, item);
}

void TModuleCanvasView::Repaint() {
  scene_->SyncWires();
  if (scene_->BackgroundOutdated()) resetCachedContent();
  for (QGraphicsItem* item : scene_->items()) {
    if (item->type() == TModulePanelItem::Type)
      static_cast<TModulePanelItem*>(item)->RefreshPorts();
  }
  scene_->update();
}

QPoint TModuleCanvasView::CanvasPoint(QPoint viewportPos) const {
  const QPointF point = mapToScene(viewportPos);
  return QPoint(static_cast<int>(std::floor(point.x())), static_cast<int>(std::floor(point.y())));
}

void TModuleCanvasView::mousePressEvent(QMouseEvent* event) {
  TModuleListe* list = List();
  if (itemAt(event->pos()) != nullptr || list == nullptr || gesture_ != TGesture::None) {
    return QGraphicsView::mousePressEvent(event);
  }
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  if (event->button() == Qt::LeftButton) {
    gesture_ = TGesture::Band;
    const QPoint at = CanvasPoint(event->pos());
    bandAnchor_ = at;
    list->CanvasMouseDown(kCanvasRubberBand, shift, at.x(), at.y());
    scene_->SetBand(QRectF(bandAnchor_, bandAnchor_));
    scene_->SetCursorNumber(kBandCursor);
  } else if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
    // Panning works in viewport pixels, which do not move while the view scrolls.
    gesture_ = TGesture::Panning;
    list->CanvasMouseDown(kCanvasPanning, shift, event->pos().x(), event->pos().y());
    scene_->SetCursorNumber(kPanningCursor);
  }
}

void TModuleCanvasView::mouseMoveEvent(QMouseEvent* event) {
  TModuleListe* list = List();
  if (gesture_ == TGesture::None || list == nullptr) return QGraphicsView::mouseMoveEvent(event);
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  if (gesture_ == TGesture::Panning) {
    list->CanvasMouseMove(shift, event->pos().x(), event->pos().y());
    return;
  }
  const QPoint at = CanvasPoint(event->pos());
  list->CanvasMouseMove(shift, at.x(), at.y());
  scene_->SetBand(QRectF(bandAnchor_, QPointF(at)).normalized());
}

void TModuleCanvasView::mouseReleaseEvent(QMouseEvent* event) {
  TModuleListe* list = List();
  if (gesture_ == TGesture::None || list == nullptr) return QGraphicsView::mouseReleaseEvent(event);
  gesture_ = TGesture::None;
  list->CanvasMouseUp();
  scene_->SetBand(std::nullopt);
  scene_->SetCursorNumber(0);
}

void TModuleCanvasView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) return QGraphicsView::wheelEvent(event);
  ZoomBy(std::pow(kZoomStep, event->angleDelta().y() / kWheelNotch));
  event->accept();
}

void TModuleCanvasView::keyPressEvent(QKeyEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) return QGraphicsView::keyPressEvent(event);
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return ZoomBy(kZoomStep);
    case Qt::Key_Minus:
      return ZoomBy(1 / kZoomStep);
    case Qt::Key_0:
      return SetZoom(1.0);
    case Qt::Key_F:
      return FitAll();
    default:
      return QGraphicsView::keyPressEvent(event);
  }
}
