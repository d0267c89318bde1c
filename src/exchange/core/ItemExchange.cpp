#include "exchange/core/ItemExchange.h"

#include "exchange/core/ExchangeFiles.h"
#include "storage/DataFiles.h"
#include "storage/QuotedFields.h"
#include "text/DateText.h"
#include "text/NumericText.h"

namespace morv {
namespace {

constexpr int FieldsPerRecord = 4;

bool EmptyOrNumeric(const QString& text) { return text.isEmpty() || IsNumeric(text); }

bool GoodHeader(const QStringList& f) {
    return IsValidDate(f[0]) && f[1].isEmpty() && f[2].isEmpty() && f[3].isEmpty();
}

// What is wrong with an item record; empty when nothing is.
QString ItemFault(const QStringList& f) {
    if (!(f[0].isEmpty() || f[0] == u"0" || f[0] == u"1"))
        return QStringLiteral("チェックが0か1ではありません");
    if (!EmptyOrNumeric(f[2])) return QStringLiteral("ナトリウムが数値ではありません");
    if (!EmptyOrNumeric(f[3])) return QStringLiteral("塩分が数値ではありません");
    return {};
}

}  // namespace

QByteArray ItemExchangeBytes(const QString& dateText, const ItemList& items) {
    QByteArray bytes;
    AppendQuotedLine(bytes, {dateText, {}, {}, {}});
    return bytes + KirokuBytes(items);
}

ItemCheck CheckItemExchange(const QString& text, QString* why) {
    FieldReader reader(text);
    QStringList f;
    for (qsizetype item = 0;; ++item) {
        switch (reader.next(FieldsPerRecord, f)) {
            case FieldReader::Result::End:
                if (item == 0) Tell(why, NoRecordsText);
                return item == 0 ? ItemCheck::Refused : ItemCheck::Accepted;
            case FieldReader::Result::Broken:
                Tell(why, FieldsNotInFoursText);
                return ItemCheck::Broken;
            case FieldReader::Result::Record:
                if (item == 0 && !GoodHeader(f)) {
                    Tell(why, QStringLiteral("先頭の日付の行が正しくありません"));
                    return ItemCheck::Refused;
                }
                if (item == 0) break;
                if (const QString fault = ItemFault(f); !fault.isEmpty()) {
                    Tell(why, BadRecordText(item, QStringLiteral("品目の") + fault));
                    return ItemCheck::Refused;
                }
                break;
        }
    }
}

bool LoadItemExchange(const QString& text, ItemList& items, QString& dateText) {
    FieldReader reader(text);
    QStringList f;
    if (reader.next(FieldsPerRecord, f) != FieldReader::Result::Record) return false;
    dateText = f[0];
    for (size_t slot = 0;; ++slot) {
        switch (reader.next(FieldsPerRecord, f)) {
            case FieldReader::Result::End:
                return true;
            case FieldReader::Result::Broken:
                return false;
            case FieldReader::Result::Record:
                if (slot >= size_t(ItemSlotCount)) return false;
                if (slot >= items.size()) items.resize(slot + 1);
                MakeNameStorable(f[1]);
                items[slot] = {f[0], f[1], f[2], f[3]};
                break;
        }
    }
}

}  // namespace morv
