#include "exchange/core/ItemExchange.h"

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

bool GoodItem(const QStringList& f) {
    const bool tick = f[0].isEmpty() || f[0] == u"0" || f[0] == u"1";
    return tick && EmptyOrNumeric(f[2]) && EmptyOrNumeric(f[3]);
}

}  // namespace

QByteArray ItemExchangeBytes(const QString& dateText, const ItemList& items) {
    QByteArray bytes;
    AppendQuotedLine(bytes, {dateText, {}, {}, {}});
    return bytes + KirokuBytes(items);
}

ItemCheck CheckItemExchange(const QString& text) {
    FieldReader reader(text);
    QStringList f;
    for (bool header = true;; header = false) {
        switch (reader.next(FieldsPerRecord, f)) {
            case FieldReader::Result::End:
                return header ? ItemCheck::Refused : ItemCheck::Accepted;
            case FieldReader::Result::Broken:
                return ItemCheck::Broken;
            case FieldReader::Result::Record:
                if (!(header ? GoodHeader(f) : GoodItem(f))) return ItemCheck::Refused;
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
