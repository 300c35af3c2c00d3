#include "platform/gui_application.h"

#include <QGuiApplication>

bool HasGuiApplication() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}
