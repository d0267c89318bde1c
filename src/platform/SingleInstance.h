#pragma once
#include <QLockFile>
#include <QString>

namespace morv {

// One running copy per data folder. The lock is held for the whole run; a lock
// left behind by a killed process is recognised by its dead process id and
// taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString& folder);
    // false when another copy holds the lock, or when no lock can be made.
    bool acquire();
    // After a failed acquire: whether it failed because another copy runs.
    bool heldByAnother() const { return lock_.error() == QLockFile::LockFailedError; }
    // After a failed acquire that is not another copy: why, for the user.
    QString whyNot() const;

private:
    QString folder_;
    QLockFile lock_;
};

}  // namespace morv
