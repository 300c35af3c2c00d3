#include "app/main_actions.h"

#include <QMainWindow>
#include <QMenuBar>

#include "app/help_window.h"
#include "patch/module_list.h"
#include "resources/artwork.h"

namespace {

struct SActionRow {
  const char* text;
  const char* icon;  // artwork name, or empty
  QKeySequence shortcut;
  const char* hint;
};

QAction* Make(QObject& owner, const SActionRow& row) {
  auto* action = new QAction(row.text, &owner);
  if (row.icon[0] != '\0') action->setIcon(ArtworkIcon(row.icon));
  action->setShortcut(row.shortcut);
  action->setStatusTip(row.hint);
  action->setToolTip(QString(row.hint));
  return action;
}

struct SEditRow {
  int code;
  SActionRow row;
};

const SEditRow kEditRows[] = {
    {kCommandUndo, {"&Undo", "action-undo", QKeySequence(Qt::CTRL | Qt::Key_Z), "Undo"}},
    {kCommandRedo,
     {"&Redo", "action-redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), "Redo"}},
    {kCommandCut, {"Cu&t", "action-cut", QKeySequence(Qt::CTRL | Qt::Key_X), "Cut"}},
    {kCommandCopy, {"&Copy", "action-copy", QKeySequence(Qt::CTRL | Qt::Key_C), "Copy"}},
    {kCommandPaste, {"&Paste", "action-paste", QKeySequence(Qt::CTRL | Qt::Key_V), "Paste"}},
    {kCommandDelete,
     {"&Delete", "action-delete", QKeySequence(Qt::CTRL | Qt::Key_Delete), "Delete"}},
    {kCommandSelectAll, {"Select &All", "", QKeySequence(Qt::CTRL | Qt::Key_A), "Select all"}},
    {kCommandModuleDialog, {"&Components", "action-modules", {}, "List of the modules"}},
    {kCommandAlignGrid, {"Align &Grid", "action-align-grid", {}, "Align to the grid"}},
    {kCommandAlignLeft, {"Align &Left", "action-align-left", {}, "Align left edges"}},
    {kCommandAlignTop, {"Align &Top", "action-align-top", {}, "Align top edges"}},
    {kCommandAlignRight, {"Align &Right", "action-align-right", {}, "Align right edges"}},
    {kCommandAlignBottom, {"Align &Bottom", "action-align-bottom", {}, "Align bottom edges"}},
};

// The decades of the Voices menu; the last one ends at the largest voice count.
struct SVoiceDecade {
  const char* title;
  int first;
  int last;
};
const SVoiceDecade kVoiceDecades[] = {
    {"1 .. 9", 1, 9}, {"10 .. 19", 10, 19}, {"20 ..29", 20, 29}, {"30 .. 40", 30, kMaxVoices}};

}  // namespace

TMainActions::TMainActions(QMainWindow& window) : window_(window) {
  QMenuBar& bar = *window.menuBar();
  BuildFile(*bar.addMenu("&File"));
  BuildEdit(*bar.addMenu("&Edit"));
  BuildView(*bar.addMenu("&View"));
  BuildSound(*bar.addMenu("&Sound"));
  Tools = bar.addMenu(" &Tools ");
  ToolsConfig = Tools->addAction("Tools &Config ...");
  BuildWindow(*bar.addMenu("&Window"));
  BuildInfo(*bar.addMenu("&Info"));
  SaveGroup =
      Make(window, {"Save Group Item", "action-save", {}, "Save the selected modules as a group"});
  BuildToolBars(window);
}

void TMainActions::BuildFile(QMenu& menu) {
  New = Make(window_, {"&New", "action-new", QKeySequence(Qt::CTRL | Qt::Key_N), "New sound"});
  Open = Make(window_,
              {"&Open ...", "action-open", QKeySequence(Qt::CTRL | Qt::Key_O), "Open a sound"});
  Save =
      Make(window_, {"&Save", "action-save", QKeySequence(Qt::CTRL | Qt::Key_S), "Save the sound"});
  SaveAs = Make(window_, {"Save &As ...", "", {}, "Save the sound under a new name"});
  Exit = Make(window_, {"E&xit", "", {}, "Leave the program"});
  menu.addAction(New);
  menu.addAction(Open);
  RecentFiles = menu.addMenu("&Recent Files");
  menu.addAction(Save);
  menu.addAction(SaveAs);
  menu.addSeparator();
  FileOptions = menu.addAction("&Options ...");
  menu.addSeparator();
  menu.addAction(Exit);
}

void TMainActions::BuildEdit(QMenu& menu) {
  QMenu* align = nullptr;
  for (const SEditRow& edit : kEditRows) {
    QAction* action = Make(window_, edit.row);
    action->setData(edit.code);
    Edit[edit.code] = action;
    if (edit.code >= kCommandAlignGrid && edit.code <= kCommandAlignBottom) {
      if (align == nullptr) align = menu.addMenu("A&lign");
      align->addAction(action);
    } else {
      menu.addAction(action);
    }
    if (edit.code == kCommandRedo || edit.code == kCommandSelectAll) menu.addSeparator();
  }
}

void TMainActions::BuildView(QMenu& menu) {
  ShowToolBar = menu.addAction("&Toolbar");
  ShowStatusBar = menu.addAction("&Statusbar");
  ShowWorkspace = menu.addAction("View &Workspace");
  for (QAction* toggle : {ShowToolBar, ShowStatusBar, ShowWorkspace}) {
    toggle->setCheckable(true);
    toggle->setChecked(true);
  }
  menu.addSeparator();
  ViewOptions = menu.addAction("&Options ...");
  ViewOptions->setIcon(ArtworkIcon("action-options"));
}

void TMainActions::BuildSound(QMenu& menu) {
  Start = Make(window_, {"&Start", "action-start", QKeySequence(Qt::Key_F5), "Start the sound"});
  Stop = Make(window_, {"S&top", "action-stop", QKeySequence(Qt::Key_F6), "Stop the sound"});
  menu.addAction(Start);
  menu.addAction(Stop);
  menu.addSeparator();
  Voices = menu.addMenu("&Voices");
  VoiceCounts = new QActionGroup(&window_);
  for (const SVoiceDecade& decade : kVoiceDecades) {
    QMenu* submenu = Voices->addMenu(decade.title);
    for (int count = decade.first; count <= decade.last; ++count) {
      QAction* item = submenu->addAction(QString::number(count));
      item->setCheckable(true);
      item->setData(count);
      VoiceCounts->addAction(item);
    }
  }
  TickVoices(1);
  SampleRate = menu.addMenu("Sample &Rate");
  QAction* rate = SampleRate->addAction("44100");
  rate->setCheckable(true);
  rate->setChecked(true);
  menu.addSeparator();
  DefaultWaveOut = menu.addAction("Default Audio &Out Device ...");
  DefaultWaveIn = menu.addAction("Default Audio &In Device ...");
  DefaultMidiIn = menu.addAction("Default &Midi In Device ...");
  menu.addSeparator();
  SoundOptions = menu.addAction("&Options ...");
}

void TMainActions::BuildWindow(QMenu& menu) {
  Cascade = menu.addAction("&Cascade");
  TileHorizontally = menu.addAction("Tile &Horizontally");
  TileVertically = menu.addAction("Tile &Vertically");
  CloseWindow = menu.addAction("C&lose");
  CloseAll = menu.addAction("Close &All");
}

void TMainActions::BuildInfo(QMenu& menu) {
  menu.addAction("&Search ...", [] { HelpWindow().ShowPage(THelpWindow::TPage::Search); });
  menu.addAction("&Index", [] { HelpWindow().ShowPage(THelpWindow::TPage::Index); });
  menu.addAction("&Use Help", [] { ShowHelpTopic(0); });
  menu.addSeparator();
  About = Make(window_, {"&About ...", "action-help", QKeySequence(Qt::CTRL | Qt::Key_F1),
                         "About the program"});
  menu.addAction(About);
}

void TMainActions::BuildToolBars(QMainWindow& window) {
  QToolBar* file = window.addToolBar("File");
  file->addActions({New, Open, Save});
  QToolBar* edit = window.addToolBar("Edit");
  for (int code : std::initializer_list<int>{
           kCommandUndo, kCommandRedo, 0, kCommandCut, kCommandCopy, kCommandPaste, kCommandDelete,
           0, kCommandAlignGrid, kCommandAlignLeft, kCommandAlignTop, kCommandAlignRight,
           kCommandAlignBottom, 0, kCommandModuleDialog}) {
    if (code == 0) {
      edit->addSeparator();
    } else {
      edit->addAction(Edit[code]);
    }
  }
  QToolBar* view = window.addToolBar("Sound");
  view->addActions({Start, Stop, ViewOptions, About});
  ToolBars = {file, edit, view};
  for (QToolBar* bar : ToolBars)
    bar->setIconSize(QSize(22, 22));
}

void TMainActions::TickVoices(int count) {
  for (QAction* item : VoiceCounts->actions())
    item->setChecked(item->data().toInt() == count);
}
