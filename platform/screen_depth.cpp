#include "platform/screen_depth.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/gui_application.h"

namespace {

constexpr int kDefaultBitsPerPixel = 24;

}  // namespace

int ScreenBitsPerPixel() {
  if (!HasGuiApplication()) return kDefaultBitsPerPixel;
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->depth() : kDefaultBitsPerPixel;
}
