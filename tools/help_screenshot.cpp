// Writes a picture of the help window showing one topic, for looking at the help pages:
// help_screenshot OUT.png [CONTEXT] [search words]
#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QStringList>
#include <cstdio>

#include "app/help_topics.h"
#include "app/help_window.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: help_screenshot OUT.png [CONTEXT] [search words]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  THelpWindow window(HelpTopics());
  window.ShowHelpTopic(argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 0);
  if (argc > 3) {
    QStringList words;
    for (int i = 3; i < argc; ++i)
      words << QString::fromLocal8Bit(argv[i]);
    window.ShowPage(THelpWindow::TPage::Search);
    window.SearchWords().setText(words.join(' '));
    emit window.SearchWords().returnPressed();
  }
  app.processEvents();
  if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "help_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
