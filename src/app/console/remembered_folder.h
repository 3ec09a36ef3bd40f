#pragma once
// The data folder used last, remembered for the user between starts: the file
// "trqdisplay/last-data-folder" in the user's configuration folder ($XDG_CONFIG_HOME, else
// ~/.config). It is the one file the program writes, never in the data folder; a failure to
// write it changes nothing else.

#include <QString>
#include <optional>

// The remembered folder when the file names one that exists now.
std::optional<QString> RememberedDataFolder();
void RememberDataFolder(const QString& folder);
// Where the remembered folder is kept.
QString RememberedFolderFile();
