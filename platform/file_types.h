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

// Where RegisterFileTypes writes, below the user's data folder.
QString MimePackagePath();
QString DesktopEntryPath();
