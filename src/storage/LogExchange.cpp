#include "storage/LogExchange.h"

#include "storage/ImportFaults.h"
#include "storage/QuotedFields.h"
#include "text/DateText.h"
#include "text/NumericText.h"

namespace morv {

// What is wrong with a day's record; empty when nothing is.
static QString DayFault(const QStringList& f) {
    auto emptyOrNumeric = [](const QString& text) { return text.isEmpty() || IsNumeric(text); };
    if (!IsValidDate(f[0])) return QStringLiteral("日付が正しくありません");
    if (!IsNumeric(f[1])) return QStringLiteral("塩分が数値ではありません");
    if (!emptyOrNumeric(f[2]) || !emptyOrNumeric(f[3])) return QStringLiteral("血圧が数値ではありません");
    return {};
}

LogCheck ReadLogExchange(const QString& text, LogList& log, QString* why) {
    log.clear();
    // The last line reads the same with or without its line end: typed by
    // hand as 2024/01/05,6,, it is a day whose readings were left blank, not
    // a record cut short.
    const bool ended = text.endsWith(u'\n') || text.endsWith(u'\r');
    FieldReader reader(ended ? text : text + QLatin1String("\r\n"));
    QStringList f;
    for (;;) {
        switch (reader.next(4, f)) {
            case FieldReader::Result::End:
                if (log.empty()) Tell(why, NoRecordsText);
                return log.empty() ? LogCheck::Refused : LogCheck::Accepted;
            case FieldReader::Result::Broken:
                log.clear();
                Tell(why, FieldsNotInFoursText);
                return LogCheck::Broken;
            case FieldReader::Result::Record:
                if (const QString fault = DayFault(f); !fault.isEmpty()) {
                    Tell(why, BadRecordText(qsizetype(log.size()) + 1, fault));
                    log.clear();
                    return LogCheck::Refused;
                }
                log.push_back({f[0], f[1], f[2], f[3]});
                break;
        }
    }
}

}  // namespace morv
