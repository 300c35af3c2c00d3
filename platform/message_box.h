// Modal messages to the user. Everything that tells the user about a failure goes through here:
// in the graphical program a message box shows it (the desktop services make that the default),
// otherwise it goes to standard error, and tests install a presenter of their own to see what
// would have been shown.
#pragma once

#include <QString>

class QWidget;

enum class TMessageIcon { None, Information, Warning, Error, Question };
enum class TMessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TMessageAnswer { Ok, Cancel, Yes, No };

struct SMessage {
  QString caption;
  QString text;
  TMessageIcon icon = TMessageIcon::None;
  TMessageButtons buttons = TMessageButtons::Ok;
};

class TMessagePresenter {
 public:
  virtual ~TMessagePresenter() = default;
  virtual TMessageAnswer Present(QWidget* owner, const SMessage& message) = 0;
};

// Shows `message` through the installed presenter, or the default one: standard error
// (answering Cancel or No) unless the program made another the default.
TMessageAnswer ShowMessage(QWidget* owner, const SMessage& message);

// Installs `presenter` (not owned) for every later message; null restores the default.
void SetMessagePresenter(TMessagePresenter* presenter);
// The installed presenter, or null for the default one.
TMessagePresenter* InstalledMessagePresenter();
// Makes `presenter` (not owned, living as long as the process) the default; null restores
// standard error.
void SetDefaultMessagePresenter(TMessagePresenter* presenter);
