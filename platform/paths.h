// The program's own path and the folder it was started in, remembered once at start-up.
#pragma once

#include <QString>

// Set by the `zelmar` command for the graphical program it starts: the command's own path.
inline constexpr char kCommandVariable[] = "ZELMAR_COMMAND";

// Fills ProgramPath, then StartDirectory, stopping at the first that cannot be found; true when
// both were found.
bool RememberPaths();
// Full path of the program file; empty until RememberPaths has run.
const QString& ProgramPath();
// The current folder when RememberPaths ran; later changes of the current folder do not show.
const QString& StartDirectory();

// The program's folder in the user's data folder (XDG_DATA_HOME), for files the program keeps
// for itself; it may not exist yet.
QString UserDataFolder();

// True when `path` names an existing folder.
bool FolderExists(const QString& path);

// The bundled examples: ../share/zelmar/examples beside the installed program, else, for a
// program run from its build folder, the source tree's examples/; empty when neither exists.
QString ExamplesFolder();
// The lookup of ExamplesFolder for a given program file and source tree examples folder.
QString ExamplesFolderFor(const QString& programPath, const QString& sourceExamples);
