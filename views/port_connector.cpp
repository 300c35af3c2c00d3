#include "views/port_connector.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>

#include "patch/macro_modules.h"
#include "patch/ports.h"
#include "patch/wire_drop.h"
#include "platform/options.h"
#include "platform/text_codec.h"
#include "views/canvas_geometry.h"
#include "views/canvas_scene.h"
#include "views/module_panel.h"

namespace {

constexpr int kCaptionPixelSize = 10;

TCanvasScene* CanvasOf(const QGraphicsItem& item) {
  return dynamic_cast<TCanvasScene*>(item.scene());
}

}  // namespace

TPortItem::TPortItem(TModulePanelItem* panel, bool input, std::string key, bool editable)
    : QGraphicsObject(panel), panel_(panel), input_(input), key_(std::move(key)) {
  setFlag(ItemHasNoContents);
  setAcceptedMouseButtons(editable ? Qt::LeftButton | Qt::RightButton : Qt::NoButton);
  Sync();
}

TEinAusgang* TPortItem::Port() const {
  auto* module = dynamic_cast<TModulArbeiten*>(panel_->Module());
  if (module == nullptr) return nullptr;
  TEinAusgangListe& list = input_ ? static_cast<TEinAusgangListe&>(*module->InputList)
                                  : static_cast<TEinAusgangListe&>(*module->OutputList);
  return dynamic_cast<TEinAusgang*>(list.Get(key_).get());
}

void TPortItem::Sync() {
  const TEinAusgang* port = Port();
  if (port == nullptr) return;
  const TRect r = port->Rect->GetRect();
  const QSizeF size(ItemExtent(r.left, r.right), ItemExtent(r.top, r.bottom));
  if (size != size_) {
    prepareGeometryChange();
    size_ = size;
  }
  setPos(r.left, r.top);
  panel_->update();
}

QString TPortItem::ToolTip() const {
  const TEinAusgang* port = Port();
  if (port == nullptr) return {};
  const auto* module = dynamic_cast<const TModulArbeiten*>(panel_->Module());
  QString text = FromFileText(module->HintOf(*port)).trimmed();
  const auto* input = dynamic_cast<const TEingang*>(port);
  const TAusgang* source = input ? input->GetSource() : nullptr;
  if (const TModul* feeder = source ? source->OwnerModule() : nullptr) {
    text += QStringLiteral("\nfrom ") + FromFileText(feeder->Title->value).trimmed();
  }
  return text;
}

bool TPortItem::ShowsActiveInside() const {
  auto* macro = dynamic_cast<TModulKomponent*>(panel_->Module());
  if (macro == nullptr) return false;
  const auto* inner = input_ ? dynamic_cast<TModulArbeiten*>(macro->Inside->Get(key_).get())
                             : macro->InnerOutput(key_);
  return inner != nullptr && inner->IsActive(nullptr);
}

bool TPortItem::IsWired(const TEinAusgang& port) const {
  if (const auto* input = dynamic_cast<const TEingang*>(&port)) return !input->IsFree();
  const auto* output = dynamic_cast<const TAusgang*>(&port);
  const TCanvasScene* canvas = CanvasOf(*this);
  return output != nullptr && canvas != nullptr && canvas->Feeds(*output);
}

QRectF TPortItem::boundingRect() const { return QRectF(QPointF(0, 0), size_); }

void TPortItem::PaintFace(QPainter& painter) const {
  const TEinAusgang* port = Port();
  if (port == nullptr) return;
  const QSize size = size_.toSize();
  const SViewOptions& options = ViewOptions();
  if (ShowsActiveInside()) {
    painter.fillRect(QRect(2, 2, size.width() - 3, size.height() - 5),
                     StoredToColor(options.moduleActive));
  }
  const SPortType& type = port->Type();
  const QColor colour = WireColor(options, type.kind);
  for (const QRect& run : ConnectorFace(size, type.isInput, type.isPoly, IsWired(*port))) {
    painter.fillRect(run, colour);
  }
  QFont font = painter.font();
  font.setPixelSize(kCaptionPixelSize);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QString caption = FromFileText(port->Title->value);
  const int margin = CaptionMargin(type.isInput, static_cast<int>(caption.size()));
  painter.drawText(QRectF(margin, 0, size.width() - margin, size.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, caption);
}

void TPortItem::mousePressEvent(QGraphicsSceneMouseEvent* event) {
  TEinAusgang* port = Port();
  TCanvasScene* canvas = CanvasOf(*this);
  if (port == nullptr || canvas == nullptr) return event->ignore();
  if (event->button() == Qt::LeftButton) canvas->BeginWire(*port, event->scenePos());
}

void TPortItem::mouseMoveEvent(QGraphicsSceneMouseEvent* event) {
  if (TCanvasScene* canvas = CanvasOf(*this)) canvas->MoveWire(event->scenePos());
}

void TPortItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event) {
  TCanvasScene* canvas = CanvasOf(*this);
  if (canvas == nullptr) return;
  if (event->button() == Qt::LeftButton) {
    canvas->EndWire(event->scenePos());
  } else if (event->button() == Qt::RightButton && StrictlyInside(event->pos(), size_)) {
    if (TEinAusgang* port = Port()) RemoveWires(*port);
  }
}

void TPortItem::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (auto* input = dynamic_cast<TEingang*>(Port())) input->DoubleClicked();
}
