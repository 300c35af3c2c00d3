// Writes a picture of the program's main window with a sound open, for a review of how the
// editor looks: main_window_shot SOUND.zmr OUT.png. The sound does not play.
#include <QApplication>
#include <QImage>
#include <cstdio>

#include "app/main_frame.h"
#include "app/sound_window.h"
#include "platform/options.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: main_window_shot SOUND.zmr OUT.png\n");
    return 2;
  }
  TMainFrame frame;
  SoundOptions().startAfterLoading = false;
  frame.resize(1280, 800);
  frame.show();
  frame.OpenFile(QString::fromLocal8Bit(argv[1]));
  if (TSoundWindow* window = frame.SoundWindow()) window->parentWidget()->showMaximized();
  // Let the layouts settle before the grab.
  for (int i = 0; i < 5; ++i)
    QApplication::processEvents();
  return frame.grab().toImage().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
