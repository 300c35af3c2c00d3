// What the main window asks of every editor window (the sound window and the group windows):
// the module list of its front page, which the Edit menu and the tool buttons act on.
#pragma once

#include <QEvent>
#include <QWidget>

class TModuleListe;

// Sent by the main window to the active editor window, which answers with its front list.
inline constexpr QEvent::Type kMessageQueryList = static_cast<QEvent::Type>(12000);
// Posted by the sound window to the main window when it closed: the sound is released.
inline constexpr QEvent::Type kMessageSoundClosed = static_cast<QEvent::Type>(17432);

class TListQueryEvent : public QEvent {
 public:
  TListQueryEvent() : QEvent(kMessageQueryList) {}
  TModuleListe* list = nullptr;
};

class TEditorWindow : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
  // The module list of the front page, or null.
  virtual TModuleListe* FrontList() const = 0;

 signals:
  // The front page changed: the main window asks again.
  void FrontListChanged();
  // The mouse moved over a canvas, at this canvas point.
  void MouseAt(QPoint point);

 protected:
  bool event(QEvent* event) override {
    if (event->type() != kMessageQueryList) return QWidget::event(event);
    static_cast<TListQueryEvent*>(event)->list = FrontList();
    return true;
  }
};
