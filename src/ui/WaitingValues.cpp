#include "ui/WaitingValues.h"

namespace morv {

void WaitingValues::SetCarriedSalt(const QString& salt) {
    if (carried_ == salt) return;
    carried_ = salt;
    emit carriedSaltChanged(carried_);
}

}  // namespace morv
