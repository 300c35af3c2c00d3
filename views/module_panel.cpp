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

TModulePanelItem::TModulePanelItem(std::string key, bool editable)
    : key_(std::move(key)), editable_(editable) {
  setCacheMode(DeviceCoordinateCache);
  setAcceptedMouseButtons(editable ? Qt::LeftButton : Qt::NoButton);
}

TModuleListe* TModulePanelItem::List() const {
  const auto* canvas = dynamic_cast<const TCanvasScene*>(scene());
  return canvas && !released_ ? canvas->List() : nullptr;
}

TModul* TModulePanelItem::Module() const {
  TModuleListe* list = List();
  return list ? list->ModuleAt(key_) : nullptr;
}

void TModulePanelItem::Build() {
  TModul* module = Module();
  if (module == nullptr) return;
  BuildButtons(*module);
  RebuildPorts();
  setAcceptHoverEvents(editable_ && FaceHasCursors(*module));
  Refresh(nullptr);
}

void TModulePanelItem::Release() {
  released_ = true;
  ReleaseItem(this);
}

void TModulePanelItem::BuildButtons(const TModul& module) {
  if (editable_ && HasDeleteButton(module)) deleteButton_ = new TDeleteButtonItem(this);
  if (const auto* boundary = dynamic_cast<const TModulGrenze*>(&module)) {
    const bool inner = dynamic_cast<const TModulEingang*>(boundary) != nullptr;
    pictureButton_ =
        new TPictureButtonItem(this, {}, QStringLiteral(">>"), QSizeF(kBoundaryButtonSize));
    pictureButton_->setPos(inner ? kInnerInputButtonLeft : kInnerOutputButtonLeft,
                           kBoundaryButtonTop);
  } else if (const auto* pictured = dynamic_cast<const TModulBild*>(&module)) {
    const SModulePicture picture = pictured->PanelPicture();
    const QString name = QString::fromStdString(picture.name);
    const QSize size = name.isEmpty() ? QSize() : ArtworkSize(name);
    pictureButton_ =
        new TPictureButtonItem(this, name, {}, size.isEmpty() ? kPictureButtonSize : size);
    pictureButton_->setPos(picture.x, picture.y);
  }
}

bool TModulePanelItem::SyncGeometry(const TModul& module) {
  const TRect r = module.Rect->GetRect();
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
    canvas->SyncWiresOf(key_);
  }
  return resized;
}

void TModulePanelItem::Refresh(const TPropTyp* property) {
  const TModul* module = Module();
  if (module == nullptr) return;
  const bool all = property == nullptr;
  // A panel that only moved keeps its drawing (and its cached picture).
  if ((all || property == module->Rect.get()) && !SyncGeometry(*module) && !all) return;
  if (all) RefreshPorts();
  if ((all || property == module->Marked.get()) && module->IsMarked()) setZValue(NextFrontZ());
  update();
}

void TModulePanelItem::RebuildPorts() {
  for (TPortItem* port : ports_)
    ReleaseItem(port);
  ports_.clear();
  auto* working = dynamic_cast<TModulArbeiten*>(Module());
  if (working == nullptr) return update();
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
        TModul* module = Module();
        if (module == nullptr) return;
        module->SelectOnly();
        List()->ExecuteCommand(kCommandDelete);
      },
      Qt::QueuedConnection);
}

// Posted as well: a dialog's own event loop must not run inside the button's event.
void TModulePanelItem::OpenDialog() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        auto* module = dynamic_cast<TModulBild*>(Module());
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
  const TModul* module = Module();
  if (module == nullptr) return;
  const SViewOptions& options = ViewOptions();
  const auto* working = dynamic_cast<const TModulArbeiten*>(module);
  const bool active = working != nullptr && working->IsActive(nullptr);
  painter->fillRect(boundingRect(),
                    StoredToColor(active ? options.moduleActive : options.moduleInActive));
  PaintBevel(*painter, size_, BevelWidth(*module));
  PaintPanelFace(*painter, *module);
  PaintTitleBar(*painter, *module);
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

void TModulePanelItem::PaintTitleBar(QPainter& painter, const TModul& module) const {
  const bool marked = module.IsMarked();
  const QRectF bar(0, 0, size_.width(), kTitleHeight);
  painter.fillRect(bar, marked ? kMarkedTitle : kUnmarkedTitle);
  QFont font = painter.font();
  font.setPixelSize(kTitlePixelSize);
  painter.setFont(font);
  painter.setPen(marked ? kMarkedTitleText : kUnmarkedTitleText);
  const qreal right = deleteButton_ ? deleteButton_->pos().x() - 1 : size_.width() - 2;
  const QRectF text(kTitleTextLeft, 0, std::max<qreal>(0, right - kTitleTextLeft), kTitleHeight);
  const QString title = QFontMetrics(font).elidedText(FromFileText(module.Title->value),
                                                      Qt::ElideRight, Floor(text.width()));
  painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, title);
}

void TModulePanelItem::mousePressEvent(QGraphicsSceneMouseEvent* event) {
  TModul* module = Module();
  if (module == nullptr) return event->ignore();
  setZValue(NextFrontZ());
  if (event->pos().y() >= kTitleHeight) {
    faceGrab_ = PressPanelFace(*module, event->pos());
    return update();
  }
  dragging_ = true;
  List()->BeginTitleDrag(*module, event->modifiers() & Qt::ShiftModifier, Floor(event->pos().x()),
                         Floor(event->pos().y()));
}

void TModulePanelItem::mouseMoveEvent(QGraphicsSceneMouseEvent* event) {
  TModul* module = Module();
  if (module == nullptr) return;
  if (faceGrab_.taken) {
    DragPanelFace(*module, faceGrab_, event->pos());
    return update();
  }
  if (!dragging_) return;
  List()->TitleDrag(*module, Floor(event->pos().x()), Floor(event->pos().y()));
  FollowWithView(event->screenPos());
}

void TModulePanelItem::mouseReleaseEvent(QGraphicsSceneMouseEvent*) {
  TModul* module = Module();
  if (faceGrab_.taken && module != nullptr) ReleasePanelFace(*module, faceGrab_);
  faceGrab_ = {};
  if (!dragging_ || module == nullptr) return;
  dragging_ = false;
  List()->EndTitleDrag(*module);
}

void TModulePanelItem::hoverMoveEvent(QGraphicsSceneHoverEvent* event) {
  // A resize under way keeps its cursor until the release.
  const TModul* module = Module();
  if (module == nullptr || faceGrab_.taken) return;
  const Qt::CursorShape shape = FaceCursorAt(*module, event->pos());
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

void ReleaseItem(QGraphicsObject* item) {
  if (item == nullptr) return;
  item->hide();
  item->deleteLater();
}
