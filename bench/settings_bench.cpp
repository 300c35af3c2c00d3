// What the settings store costs the graphical program, in a settings store of its own on the
// offscreen platform:
// - the start of the main window (the option records, its own settings, the recent files, the
//   Tools menu and both browsers read from the store, and the start file opened) with 2,000,
//   10,000 and 500,000 recent entries stored, none of which names a file that exists;
// - OK in Tools Config with 1,000 tools (the list stored and the menu built again).
// Each figure is the wall time and the processor time of one run, from a store written beforehand;
// the start is measured a second time on the store as the first start left it.
//   settings_bench [RECENT_ENTRIES ...]
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "app/main_actions.h"
#include "app/main_frame.h"
#include "app/tools.h"
#include "platform/message_box.h"
#include "platform/options.h"
#include "platform/settings_store.h"
#include "tests/support/settings_file.h"

namespace {

// Answers every message without showing it.
class TSilentPresenter : public TMessagePresenter {
 public:
  TMessageAnswer Present(QWidget*, const SMessage&) override { return TMessageAnswer::No; }
};

QString RecentSection(int entries) {
  QString text = "[Files]\n";
  for (int i = 1; i <= entries; ++i)
    text += QString("%1=/nowhere/sound-%1.zmr\n").arg(i);
  return text;
}

// Wall and processor time of `work`, in ms.
template <class TWork>
std::pair<double, double> Timed(const TWork& work) {
  timespec cpuBefore{}, cpuAfter{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuBefore);
  QElapsedTimer clock;
  clock.start();
  work();
  const double wall = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuAfter);
  const double cpu = static_cast<double>(cpuAfter.tv_sec - cpuBefore.tv_sec) * 1e3 +
                     static_cast<double>(cpuAfter.tv_nsec - cpuBefore.tv_nsec) / 1e6;
  return {wall, cpu};
}

void StartUp() {
  LoadOptions(FileOptions());
  TMainFrame frame;
  frame.Session().StartWith(QString());
}

void ToolsConfigOk(int tools) {
  TToolList list;
  for (int i = 0; i < tools; ++i) {
    list.append({QString("Tool %1").arg(i), "--file %1", "/usr/bin/true", "/tmp"});
  }
  WriteSettingsFile({});
  SaveTools(list);
  TMainFrame frame;
  QTimer::singleShot(0, [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
  });
  const auto [wall, cpu] = Timed([&frame] { frame.Actions().ToolsConfig->trigger(); });
  std::printf("OK in Tools Config with %d tools: %10.1f ms (processor %.1f ms)\n", tools, wall,
              cpu);
}

}  // namespace

int main(int argc, char** argv) {
  const QTemporaryDir home;
  qputenv("HOME", home.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TSilentPresenter presenter;
  SetMessagePresenter(&presenter);

  std::vector<int> entries;
  for (int i = 1; i < argc; ++i)
    entries.push_back(std::atoi(argv[i]));
  if (entries.empty()) entries = {2000, 10000, 500000};
  const QString startFile = QString(ZELMAR_EXAMPLES) + "/fm_bell.zmr";
  for (const int count : entries) {
    WriteSettingsFile((RecentSection(count) + "[OptionsFile]\nFileStartWindow=" + startFile +
                       "\n[OptionsSound]\nStartAfterLoading=0\n")
                          .toUtf8());
    const auto [wall, cpu] = Timed(StartUp);
    std::printf("start-up with %6d recent entries stored: %8.1f ms (processor %.1f ms)\n", count,
                wall, cpu);
    const auto [nextWall, nextCpu] = Timed(StartUp);
    std::printf("  the next, on the store that one left:    %8.1f ms (processor %.1f ms)\n",
                nextWall, nextCpu);
    std::fflush(stdout);
  }
  ToolsConfigOk(1000);
  SetMessagePresenter(nullptr);
  return 0;
}
