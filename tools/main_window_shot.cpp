// Writes a picture of the program's main window with a sound open, for a review of how the
// editor looks: main_window_shot SOUND.zmr PANEL.png STRUCTURE.png SPLASH.png, one picture with
// each page in front and one of the splash. The sound does not play.
#include <QApplication>
#include <QImage>
#include <cstdio>

#include "app/about_box.h"
#include "app/main_frame.h"
#include "app/sound_window.h"
#include "modules/catalogue.h"
#include "patch/application_context.h"
#include "platform/options.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 5) {
    std::fprintf(stderr, "usage: main_window_shot SOUND.zmr PANEL.png STRUCTURE.png SPLASH.png\n");
    return 2;
  }
  {
    const TSplash splash;
    if (!splash.Window().grab().toImage().save(QString::fromLocal8Bit(argv[4]))) return 1;
  }
  // The whole catalogue and no devices.
  SApplicationContext context;
  context.moduleTypes = ModuleCatalogue();
  const TApplicationScope scope(context);
  TMainFrame frame;
  // After the main window has read the stored options: the sound does not start.
  SoundOptions().startAfterLoading = false;
  frame.resize(1280, 800);
  frame.show();
  frame.Session().OpenFile(QString::fromLocal8Bit(argv[1]));
  TSoundWindow* window = frame.SoundWindow();
  if (window == nullptr) return 1;
  window->parentWidget()->showMaximized();
  for (int page = 0; page < 2; ++page) {
    window->Pages().setCurrentIndex(page);
    // Let the layouts settle before the grab.
    for (int i = 0; i < 5; ++i)
      QApplication::processEvents();
    if (!frame.grab().toImage().save(QString::fromLocal8Bit(argv[2 + page]))) return 1;
  }
  return 0;
}
