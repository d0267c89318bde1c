#pragma once
#include <QLockFile>
#include <QString>

namespace morv {

// One running copy per data folder on this machine. The lock lives outside the
// data folder, which a sync program may share with other machines: in the
// user's runtime folder, named after the data folder's canonical path, so a
// copy on another machine is never barred and a crashed one there never
// blocks this one. A lock left by a killed process is recognised by its dead
// process id and taken over. A "Morvaline.lock" that earlier versions left in
// the data folder is not looked at (and not removed: a copy of such a version
// may still hold it).
class SingleInstance {
public:
    // lockFolder: where the lock goes; by default RuntimeLockFolder().
    explicit SingleInstance(const QString& folder, const QString& lockFolder = RuntimeLockFolder());
    // false when another copy holds the lock, or when no lock can be made.
    bool acquire();
    // After a failed acquire: whether it failed because another copy runs.
    bool heldByAnother() const { return lock_.error() == QLockFile::LockFailedError; }
    // After a failed acquire that is not another copy: why, for the user.
    QString whyNot() const;
    // After a failed acquire whose data folder is usable: the whole notice,
    // naming the lock's folder that failed; empty when the data folder failed.
    QString lockProblemText() const;

    // $XDG_RUNTIME_DIR when it is this user's; otherwise ~/.cache/morvaline
    // (0700), which no other user can make first. Empty when neither can be
    // used (FindLockFolder says which folder failed and why).
    static QString RuntimeLockFolder();
    // The lock's name for a data folder: the same for every spelling of it.
    static QString LockName(const QString& folder);
    // The hash of the folder's canonical path that names it.
    static QString FolderKey(const QString& folder);

private:
    QString folder_;
    QString lockFolder_;
    QLockFile lock_;
};

}  // namespace morv
