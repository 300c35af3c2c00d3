// The program's main window: it holds the sound session, shows the open sound's editor windows
// in a multiple-document area beside the workspace pages, and routes the Edit menu and the tool
// buttons to the module list of the active editor window.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>
#include <memory>

#include "app/app_dialogs.h"
#include "app/group_window_follower.h"
#include "app/main_actions.h"
#include "app/processor_display.h"
#include "app/recent_files.h"
#include "app/sound_session.h"
#include "app/sound_window.h"
#include "app/workspace_pages.h"

class TFenster;
class TGroupWindow;
class TModulKomponent;
class TModuleListe;

class TMainFrame : public QMainWindow, private TSoundSessionOwner {
 public:
  TMainFrame();
  ~TMainFrame() override;

  // `count` 0: the document's voice count.
  void SelectVoices(int count);
  void ShowStatus(const QString& text) override;
  // Opens the macro's window, or brings it to the front.
  void ShowGroupWindow(TModulKomponent& macro);
  TGroupWindow* GroupWindow(const TModulKomponent& macro) const;
  // The periodic work: the session's (autosave, engine news, recovery copy), the group windows
  // and the processor display.
  void Tick();

  TSoundSession& Session() { return session_; }
  TSoundWindow* SoundWindow() const { return soundWindow_; }
  TMainActions& Actions() { return *actions_; }
  TProcessorDisplay& Processor() const { return *processor_; }
  QMdiArea& Area() const { return *area_; }
  const TRecentFiles& Recent() const { return recent_; }

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void DocumentArrived(bool showWindow) override;
  void DocumentLeaving() override;
  void DocumentReleased() override;
  void Saved(const QString& path) override;
  void CaptionChanged() override;
  void SoundStateChanged(bool canStart, bool canStop) override;
  void ShowPlayMode(const QString& text) override;
  QString AskSoundFileName(const QString& proposed) override;

  void ConnectFile();
  void ConnectEdit();
  void ConnectViewAndWindows();
  void BuildStatusBar();
  // The window's place, size and state and which of its bars show, kept in the settings store.
  void ReadSettings();
  void WriteSettings();
  void OpenChosenFile();
  void RebuildRecentMenu();
  void AddRecent(const QString& path);
  // After the file options' OK: the recent-file maximum applies and autosave counts anew.
  void FileOptionsChanged();
  void ShowSoundWindow();
  void DropSoundWindow();
  // Closes the group windows of every macro (`all`) or of those that left the sound.
  void DropGroupWindows(bool all);
  // Closes the windows of macros that left the sound and opens those of macros that came back
  // with their window marked open, once the current event is done.
  void SyncGroupWindowsLater();
  // Opens the window of every macro shown on a canvas whose description says its window was
  // open: a loaded sound, a pasted macro or an undone deletion brings its group window back.
  void ShowVisibleGroupWindows(const TModuleListe& list);
  void AddEditorWindow(TEditorWindow& window, TFenster& description);
  void ActiveEditorChanged();
  void InstallList(TModuleListe* list);
  int RefreshEditActions(int, int, int);
  void RunEditCommand(int code);

  std::unique_ptr<TMainActions> actions_;
  TSoundSession session_{*this, this};
  TAppDialogs dialogs_;
  QPointer<TSoundWindow> soundWindow_;
  TModuleListe* activeList_ = nullptr;
  QMdiArea* area_;
  SWorkspacePages workspace_;
  TProcessorDisplay* processor_;
  QLabel* position_;
  QTimer timer_;
  TRecentFiles recent_;
  TGroupWindowFollower groupWindows_{[this] { SyncGroupWindowsLater(); }};
  bool groupWindowsQueued_ = false;
};
