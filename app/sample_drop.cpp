#include "app/sample_drop.h"

#include <QDropEvent>
#include <QMimeData>
#include <cmath>

#include "app/module_palette_page.h"
#include "patch/module_list.h"
#include "views/module_canvas.h"

namespace {

std::string DraggedType(const QDropEvent& event) {
  return event.mimeData()->data(kModuleSampleMime).toStdString();
}

}  // namespace

bool ListTakesType(TModuleListe& list, const std::string& typeName) {
  bool queryOnly = true;
  list.childFactory.Call(typeName, queryOnly);
  return queryOnly;
}

TSampleDrop::TSampleDrop(TModuleCanvasView& canvas) : QObject(&canvas), canvas_(canvas) {
  canvas.setAcceptDrops(true);
  canvas.viewport()->setAcceptDrops(true);
  canvas.viewport()->installEventFilter(this);
}

bool TSampleDrop::eventFilter(QObject*, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto& drop = *static_cast<QDropEvent*>(event);
  TModuleListe* list = canvas_.List();
  const std::string typeName = DraggedType(drop);
  if (list == nullptr || typeName.empty() || !ListTakesType(*list, typeName)) {
    drop.ignore();
    return true;
  }
  drop.acceptProposedAction();
  if (type == QEvent::Drop) {
    const QPointF at = canvas_.mapToScene(drop.position().toPoint());
    list->CreateModuleAt(typeName, {}, static_cast<int>(std::floor(at.x())),
                         static_cast<int>(std::floor(at.y())), false);
  }
  return true;
}
