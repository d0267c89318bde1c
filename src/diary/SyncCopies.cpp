#include "diary/SyncCopies.h"

namespace morv {

bool IsSyncConflictCopy(const QString& name, const QString& stem) {
    if (!name.startsWith(stem) || !name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) return false;
    const QString middle = name.mid(stem.size(), name.size() - stem.size() - 4);
    if (middle.startsWith(QLatin1String(".sync-conflict-"))) return true;
    if (middle.startsWith(u' ') && (middle.contains(QLatin1String("(conflict"), Qt::CaseInsensitive) ||
                                    middle.contains(QLatin1String("conflicted copy"), Qt::CaseInsensitive)))
        return true;
    // OneDrive names the copy after the machine that lost: "-HOSTNAME", a host
    // name having no dots or blanks.
    return middle.size() > 1 && middle.startsWith(u'-') && !middle.contains(u'.') && !middle.contains(u' ');
}

}  // namespace morv
