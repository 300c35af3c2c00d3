// A canvas showing the structure of a sound on the offscreen platform, with the mouse driven at
// scene points, for the widget tests.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <stdexcept>
#include <string>

#include "patch/dokument_klang.h"
#include "patch/modul_arbeiten.h"
#include "patch/module_list.h"
#include "patch/ports.h"
#include "platform/message_box.h"
#include "platform/options.h"
#include "views/canvas_scene.h"
#include "views/module_canvas.h"

// Keeps what the model would have told the user, instead of showing a message box.
class TMessageRecorder : public TMessagePresenter {
 public:
  TMessageRecorder() { SetMessagePresenter(this); }
  ~TMessageRecorder() override { SetMessagePresenter(nullptr); }
  TMessageAnswer Present(QWidget*, const SMessage& message) override {
    texts.push_back(message.text.toStdString());
    return TMessageAnswer::Ok;
  }
  std::vector<std::string> texts;
};

class CanvasTest : public ::testing::Test {
 protected:
  CanvasTest() {
    ResetOptions(ViewOptions());
    view.resize(640, 480);
    view.Show(&list);
    view.show();
  }
  ~CanvasTest() override {
    view.Show(nullptr);
    FinishEvents();
  }

  // Creates a module of `type` under `key` with its top-left at (x, y) (snapped as the list
  // does); the history starts empty after it, so that tests count the steps of their gestures.
  TModulArbeiten& Add(const std::string& type, const std::string& key, int x, int y) {
    list.CreateModuleAt(type, key, x, y, false);
    list.ActionManager.ClearHistory();
    auto* module = dynamic_cast<TModulArbeiten*>(list.Get(key).get());
    EXPECT_NE(module, nullptr) << type;
    return *module;
  }
  static TEingang& Input(TModulArbeiten& module, const std::string& key) {
    return dynamic_cast<TEingang&>(*module.InputList->Get(key));
  }
  static TEingang& FirstInputOf(TModulArbeiten& module, TSignalKind kind) {
    for (const auto& [key, port] : module.InputList->Children()) {
      auto& input = dynamic_cast<TEingang&>(*port);
      if (input.Type().kind == kind) return input;
    }
    throw std::logic_error("no such input");
  }
  static TAusgang& Output(TModulArbeiten& module, const std::string& key) {
    return dynamic_cast<TAusgang&>(*module.OutputList->Get(key));
  }
  // The middle of a connector, in scene points.
  static QPointF Middle(const TEinAusgang& port) {
    const TRect r = port.Rect->GetRect();
    const TRect m = port.OwnerModule()->Rect->GetRect();
    return QPointF(m.left + (r.left + r.right) / 2.0, m.top + (r.top + r.bottom) / 2.0);
  }

  void Mouse(QEvent::Type type, QPointF scene, Qt::MouseButton button,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (type == QEvent::MouseButtonRelease) {
      buttons_ &= ~button;
    } else {
      buttons_ |= button;
    }
    const QPoint at = view.mapFromScene(scene);
    QMouseEvent event(type, QPointF(at), QPointF(view.viewport()->mapToGlobal(at)), button,
                      buttons_, modifiers);
    QApplication::sendEvent(view.viewport(), &event);
  }
  void Press(QPointF scene, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Mouse(QEvent::MouseButtonPress, scene, button, modifiers);
  }
  void MoveTo(QPointF scene, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Mouse(QEvent::MouseMove, scene, Qt::NoButton, modifiers);
  }
  void Release(QPointF scene, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(QEvent::MouseButtonRelease, scene, button);
  }
  void Drag(QPointF from, QPointF to, Qt::MouseButton button = Qt::LeftButton,
            Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Press(from, button, modifiers);
    MoveTo(to, modifiers);
    Release(to, button);
  }
  // Runs posted events: deletions the panels posted, and the removal of released items.
  static void FinishEvents() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // The viewport as drawn, one pixel per point (zoom 1, scale 1).
  QImage Grab() {
    FinishEvents();
    return view.viewport()->grab().toImage();
  }
  QColor PixelAt(const QImage& image, QPointF scene) const {
    return image.pixelColor(view.mapFromScene(scene));
  }

  TMessageRecorder messages;
  TDokumentKlang document;
  TModuleListeArbeiten& list = *document.ModuleList;
  TModuleCanvasView view;

 private:
  Qt::MouseButtons buttons_;
};
