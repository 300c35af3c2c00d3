// Registration of the sound and group file types with the desktop: a shared-MIME-info package
// for ".zmr" and ".group" and a desktop entry that opens sounds with this program. Written at
// every start into the user's data folder, so that a moved program is found again.
#pragma once

#include <QString>

inline constexpr char kSoundFileType[] = "ZelmarStudio_file";
inline constexpr char kGroupFileType[] = "ZelmarStudio_group";
inline constexpr char kSoundMimeType[] = "application/x-ZelmarStudio_file";
inline constexpr char kGroupMimeType[] = "application/x-ZelmarStudio_group";

// Writes both files (failures go unreported) and asks the desktop to refresh its MIME cache.
void RegisterFileTypes();

// The shared-MIME-info package of both types with these descriptions: the glob and a content
// match of each (a sound begins with its voice count, a group with a module holding "Marked").
// RegisterFileTypes writes it with the descriptions of the shell's registration; the installed
// package is written with the program's own at build time (packaging/).
QString MimePackage(const QString& soundComment, const QString& groupComment);

// Where RegisterFileTypes writes, below the user's data folder.
QString MimePackagePath();
QString DesktopEntryPath();
