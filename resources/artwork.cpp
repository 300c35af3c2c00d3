#include "resources/artwork.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <memory>

namespace {

QString PathOf(const QString& name) { return QStringLiteral(":/artwork/%1.svg").arg(name); }

// One renderer per picture, made on first use; an unknown name is remembered as invalid.
QSvgRenderer* Renderer(const QString& name) {
  static QHash<QString, std::shared_ptr<QSvgRenderer>> renderers;
  auto found = renderers.find(name);
  if (found == renderers.end()) {
    auto renderer = std::make_shared<QSvgRenderer>(PathOf(name));
    found = renderers.insert(name, renderer);
  }
  return found.value()->isValid() ? found.value().get() : nullptr;
}

struct SCursorArt {
  int number;
  const char* name;
  int hotX;  // hot spot in points of the cursor picture
  int hotY;
};

constexpr SCursorArt kCursors[] = {
    {100, "cursors/CROKCURSOR", 1, 1},      {101, "cursors/CRENTFERNENCURSOR", 1, 1},
    {102, "cursors/CRFEHLERCURSOR", 1, 1},  {103, "cursors/HANDCURSOR", 12, 12},
    {104, "cursors/GUMMIBANDCURSOR", 1, 1},
};

qreal ScreenRatio() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->devicePixelRatio() : 1.0;
}

}  // namespace

QSize ArtworkSize(const QString& name) {
  const QSvgRenderer* renderer = Renderer(name);
  return renderer != nullptr ? renderer->defaultSize() : QSize();
}

void PaintArtwork(QPainter& painter, const QRectF& target, const QString& name) {
  if (QSvgRenderer* renderer = Renderer(name)) renderer->render(&painter, target);
}

QPixmap ArtworkPixmap(const QString& name, qreal devicePixelRatio) {
  const QSize size = ArtworkSize(name);
  if (size.isEmpty()) return {};
  QPixmap pixmap(size * devicePixelRatio);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  PaintArtwork(painter, QRectF(QPointF(0, 0), QSizeF(size)), name);
  return pixmap;
}

QIcon ArtworkIcon(const QString& name) {
  const QSize size = ArtworkSize(name);
  if (size.isEmpty()) return {};
  QIcon icon;
  // The picture's own size at 1x and 2x, and the sizes desktops show program icons at.
  for (const int side : {16, 22, 32, 48, 64, 128, 256}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QSizeF fitted = QSizeF(size).scaled(side, side, Qt::KeepAspectRatio);
    PaintArtwork(painter,
                 QRectF(QPointF((side - fitted.width()) / 2, (side - fitted.height()) / 2), fitted),
                 name);
    painter.end();
    icon.addPixmap(pixmap);
  }
  for (const qreal ratio : {1.0, 2.0})
    icon.addPixmap(ArtworkPixmap(name, ratio));
  return icon;
}

QCursor ArtworkCursor(int number) {
  for (const SCursorArt& cursor : kCursors) {
    if (cursor.number != number) continue;
    const QPixmap pixmap = ArtworkPixmap(QString::fromLatin1(cursor.name), ScreenRatio());
    if (pixmap.isNull()) break;
    return QCursor(pixmap, cursor.hotX, cursor.hotY);
  }
  return QCursor(Qt::ArrowCursor);
}
