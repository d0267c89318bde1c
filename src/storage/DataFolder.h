#pragma once
#include <QString>

namespace morv {

// The per-user data folder: $XDG_DATA_HOME/Tavelnor/, or
// ~/.local/share/Tavelnor/ when XDG_DATA_HOME is unset, empty or relative (as the
// XDG rules say). It is created private (0700) because it holds health data.
// When it cannot be created, or there is no absolute $HOME to put it under, the
// program's own folder is used, and `problem` (when given) says which per-user
// folder could not be used and why. The result always ends in "/".
QString LocateDataFolder(const QString& programFolder, QString* problem = nullptr);

// Makes the data folder `path` (0700 whatever the umask) and any missing
// parent (0755, narrowed by the umask as usual). true when it is a folder.
bool MakeDataFolder(const QString& path);

// Where LocateDataFolder looks, without making anything: the per-user folder
// (ending in "/"), or empty when there is no absolute base to put it under.
QString UserDataFolderPath();

// The notice of a start-up that cannot use any data folder: the per-user
// folder's problem (if any), then the folder finally tried and why it failed.
QString DataFolderUnusableText(const QString& problem, const QString& folder, const QString& why);

}  // namespace morv
