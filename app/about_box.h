// The about box: the program's name, version and icon; the same shows as the splash at start.
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <memory>

void ShowAboutBox(QWidget* owner);

// The splash while the program starts: the about box's content without its button on a
// borderless window above all others, painted at once.
class TSplash {
 public:
  TSplash();
  // Keeps the splash up until it has shown for 3.5 s, then takes it down.
  void Finish();
  QWidget& Window() const { return *window_; }

 private:
  std::unique_ptr<QWidget> window_;
  QElapsedTimer shown_;
};
