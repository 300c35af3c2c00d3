// The user's external programs of the Tools menu: each has a title (unique, and the name of its
// settings section below "Tools"), a program file, a parameter string and an initial folder.
// The list is read from the settings store at start and written back whole after the tools
// dialog's OK.
#pragma once

#include <QList>
#include <QString>

class QWidget;

struct SToolEigenschaft {
  QString title;
  QString kommand;    // the parameters, split like a shell's command line
  QString path;       // the program file
  QString directory;  // the initial folder; empty: the program's own current folder

  friend bool operator==(const SToolEigenschaft&, const SToolEigenschaft&) = default;
};

using TToolList = QList<SToolEigenschaft>;

// The most tools the store keeps.
inline constexpr int kMaxTools = 1000;

// Reads the tools in the store's order; values that are missing read as empty. A longer list is
// cut to kMaxTools and values the checks refuse read as empty; what was repaired is written back.
TToolList LoadTools();
// Replaces every stored tool by `tools`. Titles that differ only in case share one section,
// as they share one key of a case-blind store: the first title stays, with the last one's values.
void SaveTools(const TToolList& tools);

// What starting a tool gives, in the numbering of the shell's start results: above 32 when it
// started; 2 no such program file, 3 no such folder, 5 access denied, 8 out of memory; other
// failures give 0.
inline constexpr int kToolStarted = 33;
int StartTool(const SToolEigenschaft& tool);

// Starts the first tool titled `title` and tells the user when that fails.
void RunTool(QWidget* owner, const TToolList& tools, const QString& title);
