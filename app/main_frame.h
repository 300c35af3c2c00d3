// The program's main window: it owns the one open sound, shows its editor windows in a
// multiple-document area beside the workspace pages, and routes the Edit menu and the tool
// buttons to the module list of the active editor window.
#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>
#include <memory>
#include <string>

#include "app/app_dialogs.h"
#include "app/group_window_follower.h"
#include "app/main_actions.h"
#include "app/processor_display.h"
#include "app/recent_files.h"
#include "app/recovery_copy.h"
#include "app/sound_window.h"
#include "app/workspace_pages.h"
#include "engine/engine_host.h"

class TDokumentKlang;
class TFenster;
class TGroupWindow;
class TModulKomponent;
class TModuleListe;

class TMainFrame : public QMainWindow, public TEngineListener {
 public:
  TMainFrame();
  ~TMainFrame() override;

  // The command line's document: "STANDARD" opens nothing, an existing file opens, otherwise
  // the configured start document.
  void StartWith(const QString& argument);
  // Offers the sounds that a crash or a kill left unsaved, one after the other, until one is
  // restored; true when a sound was restored.
  bool OfferRecovery();
  void NewSound();
  void OpenFile(const QString& path);
  // False when nothing was saved (the user cancelled or the file could not be written).
  bool SaveSound(bool askForName);
  // Offers to save a changed sound; false when the user cancelled. With `destroy` the sound is
  // released.
  bool CloseSound(bool destroy);
  void StartSound();
  void StopSound();
  // `count` 0: the document's voice count.
  void SelectVoices(int count);
  void ShowStatus(const QString& text);
  // Opens the macro's window, or brings it to the front.
  void ShowGroupWindow(TModulKomponent& macro);
  TGroupWindow* GroupWindow(const TModulKomponent& macro) const;
  // The periodic work: processor display, recovery copy and autosave.
  void Tick();
  // After the file options' OK: the recent-file maximum applies and autosave counts anew.
  void FileOptionsChanged();

  TDokumentKlang* Document() const { return document_.get(); }
  TSoundWindow* SoundWindow() const { return soundWindow_; }
  TMainActions& Actions() { return *actions_; }
  TProcessorDisplay& Processor() const { return *processor_; }
  QMdiArea& Area() const { return *area_; }
  const TRecentFiles& Recent() const { return recent_; }
  const TRecoveryCopy& Recovery() const { return recovery_; }

  void EngineOverloaded(int usage) override;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void ConnectFile();
  void ConnectEdit();
  void ConnectViewAndWindows();
  QWidget* BuildWorkspace();
  void BuildStatusBar();
  // The window's place, size and state and which of its bars show, kept in the settings store.
  void ReadSettings();
  void WriteSettings();
  void CreateDocument();
  // Closes the windows of macros that left the sound and opens those of macros that came back
  // with their window marked open, once the current event is done.
  void SyncGroupWindowsLater();
  // Shows a document just read, or `fault` when it could not be read whole.
  void ShowLoaded(bool loaded, const QString& fault);
  void OpenChosenFile();
  void OpenRecent(const QString& path);
  void RebuildRecentMenu();
  void AddRecent(const QString& path);
  void ShowSoundWindow();
  void DropSoundWindow();
  // Closes the group windows of every macro (`all`) or of those that left the sound.
  void DropGroupWindows(bool all);
  // Opens the window of every macro shown on a canvas whose description says its window was
  // open: a loaded sound, a pasted macro or an undone deletion brings its group window back.
  void ShowVisibleGroupWindows(const TModuleListe& list);
  void AddEditorWindow(TEditorWindow& window, TFenster& description);
  void ShowCaption();
  void ReleaseDocument();
  void ActiveEditorChanged();
  void InstallList(TModuleListe* list);
  int RefreshEditActions(int, int, int);
  void RunEditCommand(int code);
  void SetSoundActions(bool canStart, bool canStop);
  // After a start: tells why the sound did not get the low-latency mode, once per reason.
  void ShowFallbackOnce();
  void Autosave();

  std::unique_ptr<TMainActions> actions_;
  TAppDialogs dialogs_{*this};
  std::unique_ptr<TDokumentKlang> document_;
  QPointer<TSoundWindow> soundWindow_;
  TModuleListe* activeList_ = nullptr;
  QMdiArea* area_;
  SWorkspacePages workspace_;
  TProcessorDisplay* processor_;
  QLabel* position_;
  QTimer timer_;
  int ticks_ = 0;
  QElapsedTimer sinceSave_;
  TRecentFiles recent_;
  std::string shownFallback_;
  TRecoveryCopy recovery_;
  TGroupWindowFollower groupWindows_{[this] { SyncGroupWindowsLater(); }};
  bool groupWindowsQueued_ = false;
};
