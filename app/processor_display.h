// The status-bar field that shows the running sound's processor load, green while the engine
// keeps up and red once it asks for more than the processor has.
#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

struct SProcessorLook {
  QString text;
  // Invalid colours: the field's own palette.
  QColor background;
  QColor foreground;
};

// What the field shows for `percent` while a sound plays, or when none plays.
SProcessorLook ProcessorLook(bool playing, int percent);

class TProcessorDisplay : public QLabel {
 public:
  explicit TProcessorDisplay(QWidget* parent = nullptr);
  void Show(const SProcessorLook& look);
};
