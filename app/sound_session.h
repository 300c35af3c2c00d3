// The open sound and its lifecycle, apart from any window: new, open, save, close with the save
// question, autosave, the recovery copy and the offer of copies left behind, start and stop,
// and the engine's overload stop. The session shows its own messages through the platform's
// message interface and tells its owner, through TSoundSessionOwner, what the owner must show;
// it never touches a widget, so that it can be driven without a main window.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "app/recovery_copy.h"
#include "engine/engine_host.h"

class QWidget;
class TDokumentKlang;

// Whoever shows the session (the main window, or a test). Every call comes from the GUI thread.
class TSoundSessionOwner {
 public:
  virtual ~TSoundSessionOwner() = default;

  // A new sound, or one just read, is the session's. `showWindow`: its sound window should show
  // (a sound stored with its window closed opens without one, unless it was not read whole).
  virtual void DocumentArrived(bool showWindow) = 0;
  // The sound is about to be destroyed: whatever shows it lets go of it now.
  virtual void DocumentLeaving() = 0;
  // The session holds no sound any more.
  virtual void DocumentReleased() = 0;
  // The sound was written to `path`, which is its file from now on.
  virtual void Saved(const QString& path) = 0;
  // The sound's title (TSoundSession::Title) changed, or the sound went.
  virtual void CaptionChanged() = 0;
  // What the Start and Stop actions can do now.
  virtual void SoundStateChanged(bool canStart, bool canStop) = 0;
  // A text for the status panel ("New Sound").
  virtual void ShowStatus(const QString& text) = 0;
  // How a sound just started plays, told once for each reason it missed the low-latency mode.
  virtual void ShowPlayMode(const QString& text) = 0;
  // The file to save the sound as, starting from `proposed`; empty when the user cancelled.
  virtual QString AskSoundFileName(const QString& proposed) = 0;
};

class TSoundSession : public QObject, private TEngineListener {
 public:
  // `messageParent` is the window the session's messages show over; it may be null.
  TSoundSession(TSoundSessionOwner& owner, QWidget* messageParent);
  ~TSoundSession() override;
  TSoundSession(const TSoundSession&) = delete;
  TSoundSession& operator=(const TSoundSession&) = delete;

  // The command line's document: "STANDARD" opens nothing, an existing file opens, otherwise
  // the configured start document.
  void StartWith(const QString& argument);
  // Offers the sounds that a crash or a kill left unsaved, one after the other, until one is
  // restored; true when a sound was restored.
  bool OfferRecovery();
  void NewSound();
  // Every sound file the user names is read here.
  void OpenFile(const QString& path);
  // False when nothing was saved (the user cancelled or the file could not be written).
  bool SaveSound(bool askForName);
  // Offers to save a changed sound; false when the user cancelled. With `destroy` the sound is
  // released.
  bool CloseSound(bool destroy);
  // Destroys the sound without a question.
  void ReleaseDocument();
  void StartSound();
  void StopSound();
  // Recomputes the active modules and restarts a playing sound, after options that change how
  // it plays.
  void RestartSound();
  // The periodic work, on the owner's timer: autosave, what the engine published, and the
  // recovery copy.
  void Tick();
  // Autosave counts anew from now (after the file options changed).
  void RestartAutosaveClock() { sinceSave_.restart(); }

  TDokumentKlang* Document() const { return document_.get(); }
  // The sound's title: its file, or "Sound" and a number; empty without a sound.
  QString Title() const;
  const TRecoveryCopy& Recovery() const { return recovery_; }

 protected:
  bool event(QEvent* event) override;

 private:
  void EngineOverloaded(int usage) override;
  void CreateDocument();
  // Takes over a document just read from a file or a recovery copy; `fault` is shown when it
  // was not read whole.
  void ShowRead(bool complete, const QString& fault);
  // Asks whether to restore the copy that `left` holds.
  bool OfferCopy(const SLeftCopy& left);
  // The name to save under, asked of the owner; empty when the user cancelled.
  QString AskFileName();
  void Autosave();
  void ShowPlayModeOnce();

  TSoundSessionOwner& owner_;
  QWidget* messageParent_;
  std::unique_ptr<TDokumentKlang> document_;
  int ticks_ = 0;
  bool autosaving_ = false;
  QElapsedTimer sinceSave_;
  std::string shownFallback_;
  TRecoveryCopy recovery_;
};
