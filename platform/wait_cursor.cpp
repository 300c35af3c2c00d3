#include "platform/wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

#include "platform/gui_application.h"

TWaitCursor::TWaitCursor() : shown_(HasGuiApplication()) {
  if (shown_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

TWaitCursor::~TWaitCursor() {
  if (shown_) QGuiApplication::restoreOverrideCursor();
}
