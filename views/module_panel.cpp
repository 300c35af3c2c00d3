#include "views/module_panel.h"

#include <QFontMetrics>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "modules/panel_items.h"
#include "patch/macro_modules.h"
#include "patch/modul_bild.h"
#include "patch/module_list.h"
#include "platform/options.h"
#include "platform/text_codec.h"
#include "resources/artwork.h"
#include "views/canvas_geometry.h"
#include "views/canvas_scene.h"
#include "views/panel_buttons.h"
#include "views/panel_faces.h"
#include "views/port_connector.h"

namespace {

constexpr int kTitlePixelSize = 11;
constexpr int kTitleTextLeft = 2;
// Title bar colours of a marked and an unmarked module.
const QColor kMarkedTitle(0, 0, 128);
const QColor kMarkedTitleText(255, 255, 255);
const QColor kUnmarkedTitle(128, 128, 128);
const QColor kUnmarkedTitleText(240, 240, 240);
const QColor kBevelLight(255, 255, 255);
const QColor kBevelShadow(64, 64, 64);

// Marked and clicked panels come to the front.
qreal NextFrontZ() {
  static qreal front = 0;
  return ++front;
}

// Faders and level meters are deleted only through the module they belong to.
bool HasDeleteButton(const TModul& module) {
  return dynamic_cast<const TModulSchieber*>(&module) == nullptr &&
         dynamic_cast<const TModulLautstaerkeSehen*>(&module) == nullptr;
}

// Macros show a double bevel, other modules a single one.
int BevelWidth(const TModul& module) {
  return dynamic_cast<const TModulKomponent*>(&module) != nullptr ? 2 : 1;
}

void PaintBevel(QPainter& painter, QSizeF size, int width) {
  for (int i = 0; i < width; ++i) {
    const qreal in = i + 0.5;
    const qreal right = size.width() - in;
    const qreal bottom = size.height() - in;
    painter.setPen(kBevelLight);
    painter.drawLine(QPointF(in, in), QPointF(right, in));
    painter.drawLine(QPointF(in, in), QPointF(in, bottom));
    painter.setPen(kBevelShadow);
    painter.drawLine(QPointF(right, in), QPointF(right, bottom));
    painter.drawLine(QPointF(in, bottom), QPointF(right, bottom));
  }
}

int Floor(qreal value) { return static_cast<int>(std::floor(value)); }

}  // namespace

TModulePanelItem::TModulePanelItem(bool editable) : editable_(editable) {
  setCacheMode(DeviceCoordinateCache);
  setAcceptedMouseButtons(editable ? Qt::LeftButton : Qt::NoButton);
}

void TModulePanelItem::Attach(TModul* module) {
  module_ = module;
  if (module_ == nullptr) return;
  BuildButtons();
  RebuildPorts();
  setAcceptHoverEvents(editable_ && FaceHasCursors(*module_));
  Refresh(nullptr);
}

void TModulePanelItem::BuildButtons() {
  if (editable_ && HasDeleteButton(*module_)) deleteButton_ = new TDeleteButtonItem(this);
  if (auto* boundary = dynamic_cast<TModulGrenze*>(module_)) {
    const bool inner = dynamic_cast<TModulEingang*>(boundary) != nullptr;
    pictureButton_ =
        new TPictureButtonItem(this, {}, QStringLiteral(">>"), QSizeF(kBoundaryButtonSize));
    pictureButton_->setPos(inner ? kInnerInputButtonLeft : kInnerOutputButtonLeft,
                           kBoundaryButtonTop);
  } else if (auto* pictured = dynamic_cast<TModulBild*>(module_)) {
    const SModulePicture picture = pictured->PanelPicture();
    const QString name = QString::fromStdString(picture.name);
    const QSize size = name.isEmpty() ? QSize() : ArtworkSize(name);
    pictureButton_ =
        new TPictureButtonItem(this, name, {}, size.isEmpty() ? kPictureButtonSize : size);
    pictureButton_->setPos(picture.x, picture.y);
  }
}

bool TModulePanelItem::SyncGeometry() {
  const TRect r = module_->Rect->GetRect();
  const QSizeF size(ItemExtent(r.left, r.right), ItemExtent(r.top, r.bottom));
  const bool resized = size != size_;
  if (resized) {
    prepareGeometryChange();
    size_ = size;
  }
  setPos(r.left, r.top);
  if (deleteButton_)
    deleteButton_->setPos(DeleteButtonRect(static_cast<int>(size_.width())).topLeft());
  if (auto* canvas = dynamic_cast<TCanvasScene*>(scene())) {
    canvas->GrowToInclude(sceneBoundingRect());
    if (TModuleListe* list = module_->OwnerList()) canvas->SyncWiresOf(list->KeyOf(module_));
  }
  return resized;
}

void TModulePanelItem::Refresh(const TPropTyp* property) {
  if (module_ == nullptr) return;
  const bool all = property == nullptr;
  // A panel that only moved keeps its drawing (and its cached picture).
  if ((all || property == module_->Rect.get()) && !SyncGeometry() && !all) return;
  if (all) RefreshPorts();
  if ((all || property == module_->Marked.get()) && module_->IsMarked()) setZValue(NextFrontZ());
  update();
}

void TModulePanelItem::RebuildPorts() {
  for (TPortItem* port : ports_)
    ReleaseItem(port);
  ports_.clear();
  auto* working = dynamic_cast<TModulArbeiten*>(module_);
  if (working == nullptr) return;
  for (const auto& [key, port] : working->InputList->Children()) {
    ports_.push_back(new TPortItem(this, true, key, editable_));
  }
  for (const auto& [key, port] : working->OutputList->Children()) {
    ports_.push_back(new TPortItem(this, false, key, editable_));
  }
  update();
}

void TModulePanelItem::RefreshPorts() {
  for (TPortItem* port : ports_)
    port->Sync();
}

void TModulePanelItem::PostDelete() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        TModuleListe* list = module_ ? module_->OwnerList() : nullptr;
        if (list == nullptr) return;
        module_->SelectOnly();
        list->ExecuteCommand(kCommandDelete);
      },
      Qt::QueuedConnection);
}

// Posted as well: a dialog's own event loop must not run inside the button's event.
void TModulePanelItem::OpenDialog() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        auto* module = dynamic_cast<TModulBild*>(module_);
        if (module == nullptr) return;
        if (editable_) {
          module->ShowProperties();
        } else {
          module->ShowHelp();
        }
      },
      Qt::QueuedConnection);
}

void TModulePanelItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
  if (module_ == nullptr) return;
  const SViewOptions& options = ViewOptions();
  const auto* working = dynamic_cast<const TModulArbeiten*>(module_);
  const bool active = working != nullptr && working->IsActive(nullptr);
  painter->fillRect(boundingRect(),
                    StoredToColor(active ? options.moduleActive : options.moduleInActive));
  PaintBevel(*painter, size_, BevelWidth(*module_));
  PaintPanelFace(*painter, *module_);
  PaintTitleBar(*painter);
  PaintChildren(*painter);
}

void TModulePanelItem::PaintChildren(QPainter& painter) const {
  const auto paintAt = [&painter](const auto* child) {
    if (child == nullptr || !child->isVisible()) return;
    painter.save();
    painter.translate(child->pos());
    child->PaintFace(painter);
    painter.restore();
  };
  for (const TPortItem* port : ports_)
    paintAt(port);
  paintAt(pictureButton_);
  paintAt(deleteButton_);
}

void TModulePanelItem::PaintTitleBar(QPainter& painter) const {
  const bool marked = module_->IsMarked();
  const QRectF bar(0, 0, size_.width(), kTitleHeight);
  painter.fillRect(bar, marked ? kMarkedTitle : kUnmarkedTitle);
  QFont font = painter.font();
  font.setPixelSize(kTitlePixelSize);
  painter.setFont(font);
  painter.setPen(marked ? kMarkedTitleText : kUnmarkedTitleText);
  const qreal right = deleteButton_ ? deleteButton_->pos().x() - 1 : size_.width() - 2;
  const QRectF text(kTitleTextLeft, 0, std::max<qreal>(0, right - kTitleTextLeft), kTitleHeight);
  const QString title = QFontMetrics(font).elidedText(FromFileText(module_->Title->value),
                                                      Qt::ElideRight, Floor(text.width()));
  painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, title);
}

void TModulePanelItem::mousePressEvent(QGraphicsSceneMouseEvent* event) {
  TModuleListe* list = module_ ? module_->OwnerList() : nullptr;
  if (list == nullptr) return event->ignore();
  setZValue(NextFrontZ());
  if (event->pos().y() >= kTitleHeight) {
    faceGrab_ = PressPanelFace(*module_, event->pos());
    return update();
  }
  dragging_ = true;
  list->BeginTitleDrag(*module_, event->modifiers() & Qt::ShiftModifier, Floor(event->pos().x()),
                       Floor(event->pos().y()));
}

void TModulePanelItem::mouseMoveEvent(QGraphicsSceneMouseEvent* event) {
  if (faceGrab_.taken && module_ != nullptr) {
    DragPanelFace(*module_, faceGrab_, event->pos());
    return update();
  }
  TModuleListe* list = module_ ? module_->OwnerList() : nullptr;
  if (!dragging_ || list == nullptr) return;
  list->TitleDrag(*module_, Floor(event->pos().x()), Floor(event->pos().y()));
  FollowWithView(event->screenPos());
}

void TModulePanelItem::mouseReleaseEvent(QGraphicsSceneMouseEvent*) {
  if (faceGrab_.taken && module_ != nullptr) ReleasePanelFace(*module_, faceGrab_);
  faceGrab_ = {};
  TModuleListe* list = module_ ? module_->OwnerList() : nullptr;
  if (!dragging_ || list == nullptr) return;
  dragging_ = false;
  list->EndTitleDrag(*module_);
}

void TModulePanelItem::hoverMoveEvent(QGraphicsSceneHoverEvent* event) {
  // A resize under way keeps its cursor until the release.
  if (module_ == nullptr || faceGrab_.taken) return;
  const Qt::CursorShape shape = FaceCursorAt(*module_, event->pos());
  if (shape == Qt::ArrowCursor) return unsetCursor();
  setCursor(shape);
}

void TModulePanelItem::FollowWithView(QPoint screenPos) {
  if (scene() == nullptr) return;
  for (QGraphicsView* view : scene()->views()) {
    const QPoint mouse = view->viewport()->mapFromGlobal(screenPos);
    if (!view->viewport()->rect().contains(mouse)) view->ensureVisible(this, 0, 0);
  }
}

TModulePanelView::TModulePanelView(TModul& module, TModulePanelItem* item) : item_(item) {
  item_->Attach(&module);
}

TModulePanelView::~TModulePanelView() {
  if (item_ == nullptr) return;
  item_->Attach(nullptr);
  ReleaseItem(item_);
}

void TModulePanelView::PropertyChanged(const TPropTyp* property) {
  if (item_) item_->Refresh(property);
}

void TModulePanelView::ActiveChanged() {
  if (item_ == nullptr) return;
  item_->update();
  item_->RefreshPorts();
}

void TModulePanelView::PortsChanged() {
  if (item_) item_->RebuildPorts();
}

void ReleaseItem(QGraphicsObject* item) {
  if (item == nullptr) return;
  item->hide();
  item->deleteLater();
}
