#include "log/core/LogPages.h"

#include <algorithm>

namespace morv {

qint64 PageCount(qint64 logCount) {
    if (logCount <= 0) return 1;
    return logCount / LogRowsPerPage + (logCount % LogRowsPerPage > 0 ? 1 : 0);
}

qint64 PageValue(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min(PageNumberLimit, value * 10 + (text[i].unicode() - u'0'));
    return negative ? -value : value;
}

qint64 ClampPage(qint64 typed, qint64 pageCount) {
    if (typed < 1) typed = 1;
    if (pageCount < typed) typed = std::max<qint64>(pageCount, 1);
    return typed;
}

qint64 PreviousPage(qint64 page, qint64 pageCount) {
    if (page == 1) return pageCount;
    return std::max(page, -PageNumberLimit) - 1;
}

qint64 NextPage(qint64 page, qint64 pageCount) {
    if (page == pageCount) return 1;
    return std::min(page, PageNumberLimit) + 1;
}

qint64 FirstRecordOfPage(qint64 page) { return (std::max<qint64>(page, 1) - 1) * LogRowsPerPage; }

int RowsOnPage(qint64 first, qint64 logCount) {
    if (first < 0 || first >= logCount) return 0;
    return static_cast<int>(std::min<qint64>(LogRowsPerPage, logCount - first));
}

}  // namespace morv
