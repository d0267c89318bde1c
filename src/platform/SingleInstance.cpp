#include "platform/SingleInstance.h"

namespace morv {

SingleInstance::SingleInstance(const QString& folder) : lock_(folder + QStringLiteral("Morvaline.lock")) {
    // Never treat a live holder's lock as stale by age; a dead holder's lock is
    // still detected through its process id.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::acquire() { return lock_.tryLock(100); }

}  // namespace morv
