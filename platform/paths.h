// The program's own path and the folder it was started in, remembered once at start-up.
#pragma once

#include <QString>

// Fills ProgramPath, then StartDirectory, stopping at the first that cannot be found; true when
// both were found.
bool RememberPaths();
// Full path of the program file; empty until RememberPaths has run.
const QString& ProgramPath();
// The current folder when RememberPaths ran; later changes of the current folder do not show.
const QString& StartDirectory();

// True when `path` names an existing folder.
bool FolderExists(const QString& path);
