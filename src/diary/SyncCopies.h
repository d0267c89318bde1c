#pragma once
// The copies of a data file that sync programs leave beside it when two
// machines saved it within their delay, in each program's naming.

#include <QString>

namespace morv {

// A sync program's copy of the file `stem` ("Enbun"): Syncthing's
// "Enbun.sync-conflict-<date>-<time>-<device>.txt"; Dropbox's "Enbun
// (conflicted copy ...).txt" and "Enbun (Laptop's conflicted copy ...).txt";
// Nextcloud's "Enbun (conflict ...).txt"; OneDrive's "Enbun-HOSTNAME.txt".
bool IsSyncConflictCopy(const QString& name, const QString& stem);

}  // namespace morv
