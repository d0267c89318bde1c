#pragma once
// Where the single-instance lock and the raise socket live: a folder that
// only this user can have made. A fixed name under the shared temporary
// folder is not one: another local user can create it (or a link by its name)
// first and so keep the program from starting, or listen in its place.

#include <QString>

namespace morv {

struct LockFolder {
    QString path;    // usable, or empty
    QString failed;  // when path is empty: the folder that could not be used
    QString why;     // and why, for the user
};

// $XDG_RUNTIME_DIR when it is a folder of this user's closed to others (an
// open one is left as it is and not used); otherwise the user's cache folder
// ($XDG_CACHE_HOME, or ~/.cache) plus "/morvaline", made 0700 when missing
// and closed to others when it is ours. A folder there that is a link, or someone else's, is refused, never
// taken over.
LockFolder FindLockFolder();

// The notice of a start-up that cannot make its lock: names the folder.
QString LockFolderUnusableText(const QString& folder, const QString& why);

}  // namespace morv
