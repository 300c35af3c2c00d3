// The main window's actions in one table: menus, shortcuts, hints and tool bar buttons. The
// main window connects them; edit actions carry their command code as their data.
#pragma once

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QToolBar>
#include <array>

class QMainWindow;

inline constexpr int kMaxVoices = 39;
// Edit command codes run from 1 to 16.
inline constexpr int kEditCommandSlots = 17;

class TMainActions {
 public:
  explicit TMainActions(QMainWindow& window);

  QAction* New;
  QAction* Open;
  QMenu* RecentFiles;
  QAction* Save;
  QAction* SaveAs;
  QAction* FileOptions;
  QAction* Exit;
  // By command code; null where a code has no action.
  std::array<QAction*, kEditCommandSlots> Edit{};
  QAction* ShowToolBar;
  QAction* ShowStatusBar;
  QAction* ShowWorkspace;
  QAction* ViewOptions;
  QAction* Start;
  QAction* Stop;
  QMenu* Voices;
  QActionGroup* VoiceCounts;
  QMenu* SampleRate;
  QAction* DefaultWaveOut;
  QAction* DefaultWaveIn;
  QAction* DefaultMidiIn;
  QAction* SoundOptions;
  // The " &Tools " menu: its first item opens the tools dialog, the user's tools follow.
  QMenu* Tools;
  QAction* ToolsConfig;
  QAction* Cascade;
  QAction* TileHorizontally;
  QAction* TileVertically;
  QAction* CloseWindow;
  QAction* CloseAll;
  QAction* About;
  QAction* SaveGroup;
  QList<QToolBar*> ToolBars;

  // The voice item of `count`, ticked alone.
  void TickVoices(int count);

 private:
  void BuildFile(QMenu& menu);
  void BuildEdit(QMenu& menu);
  void BuildView(QMenu& menu);
  void BuildSound(QMenu& menu);
  void BuildWindow(QMenu& menu);
  void BuildInfo(QMenu& menu);
  void BuildToolBars(QMainWindow& window);

  QMainWindow& window_;
};
