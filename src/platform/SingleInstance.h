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
    // false when another copy holds the lock.
    bool acquire();

private:
    QLockFile lock_;
};

}  // namespace morv
