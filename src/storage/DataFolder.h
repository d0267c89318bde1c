#pragma once
#include <QString>

namespace morv {

// The per-user data folder: $XDG_DATA_HOME/Tavelnor/, or
// ~/.local/share/Tavelnor/ when XDG_DATA_HOME is unset, empty or relative (as the
// XDG rules say). It is created private (0700) because it holds health data.
// When it cannot be created, or there is no absolute $HOME to put it under, the
// program's own folder is used. The result always ends in "/".
QString LocateDataFolder(const QString& programFolder);

}  // namespace morv
