#include "app/processor_display.h"

#include <QPalette>

namespace {

constexpr int kFullLoad = 100;

}  // namespace

SProcessorLook ProcessorLook(bool playing, int percent) {
  if (!playing) return {"0 %", QColor(), QColor()};
  const QString text = QString::asprintf("%i%%", percent);
  if (percent <= kFullLoad) return {text, QColor(0, 128, 0), QColor(Qt::white)};
  return {text, QColor(255, 0, 0), QColor()};
}

TProcessorDisplay::TProcessorDisplay(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignCenter);
  setMinimumWidth(60);
  setAutoFillBackground(true);
  setToolTip("Processor usage of the playing sound");
  Show(ProcessorLook(false, 0));
}

void TProcessorDisplay::Show(const SProcessorLook& look) {
  setText(look.text);
  QPalette colours;
  if (look.background.isValid()) colours.setColor(QPalette::Window, look.background);
  if (look.foreground.isValid()) colours.setColor(QPalette::WindowText, look.foreground);
  setPalette(colours);
}
