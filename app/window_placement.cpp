#include "app/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>

#include "patch/window_description.h"

namespace {

constexpr int kStateNormal = 0;
constexpr int kStateMinimised = 1;
constexpr int kStateMaximised = 2;

class TPlacementKeeper : public QObject {
 public:
  TPlacementKeeper(QMdiSubWindow& frame, TFenster& description)
      : QObject(&frame), frame_(frame), description_(description) {
    frame.installEventFilter(this);
  }

  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::WindowStateChange:
        Keep();
        break;
      default:
        break;
    }
    return false;
  }

 private:
  // The place is kept only from a normal window, so that restoring it finds its old size.
  void Keep() {
    if (frame_.isMinimized()) {
      description_.WindowState->value = kStateMinimised;
    } else if (frame_.isMaximized()) {
      description_.WindowState->value = kStateMaximised;
    } else {
      description_.WindowState->value = kStateNormal;
      const QRect r = frame_.geometry();
      description_.Rect->Set(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    }
  }

  QMdiSubWindow& frame_;
  TFenster& description_;
};

}  // namespace

QList<QRect> ScreenAreas() {
  QList<QRect> areas;
  if (const QScreen* primary = QGuiApplication::primaryScreen())
    areas << primary->availableGeometry();
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != QGuiApplication::primaryScreen()) areas << screen->availableGeometry();
  }
  return areas;
}

void PlaceByDescription(QMdiSubWindow& frame, TFenster& description) {
  const TRect rect = description.Rect->GetRect();
  if (rect.top != rect.bottom) {
    frame.setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  }
  if (description.WindowState->value == kStateMinimised) frame.showMinimized();
  if (description.WindowState->value == kStateMaximised) frame.showMaximized();
  new TPlacementKeeper(frame, description);
}
