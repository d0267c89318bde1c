#include "storage/TableParse.h"

#include "storage/QuotedFields.h"

#include <algorithm>
#include <span>

namespace morv {
namespace {

QStringView TrimSpaces(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ') ++begin;
    while (end > begin && text[end - 1] == u' ') --end;
    return text.mid(begin, end - begin);
}

template <class Table, class Take, class Write>
TableParse ParseRecords(QByteArrayView bytes, Table& table, int fields, Take take, Write write) {
    TableParse parse;
    Cp932FieldReader reader(bytes);
    // Where the next record's line must start for the bytes to be the
    // records written back; -1 once they are not.
    qsizetype next = 0;
    QByteArray line;
    for (;;) {
        const FieldResult result = reader.next(fields);
        if (result == FieldResult::End) break;
        if (result == FieldResult::Broken) {
            parse.broken = true;
            break;
        }
        if (parse.records >= table.size()) {
            parse.overflow = true;
            break;
        }
        table[parse.records] = take(reader);
        if (next >= 0) {
            line.clear();
            write(line, table[parse.records]);
            next = bytes.sliced(next).startsWith(line) ? next + line.size() : -1;
        }
        ++parse.records;
    }
    parse.faithful = !reader.undecodable() && reader.exact() && next == bytes.size();
    return parse;
}

}  // namespace

TableParse ParseItems(QByteArrayView bytes, ItemList& items) {
    std::span<ItemRecord> table(items.data(), std::min(items.size(), static_cast<size_t>(ItemSlotCount)));
    return ParseRecords(
        bytes, table, 4,
        [](Cp932FieldReader& r) {
            return ItemRecord{r.field(0), r.field(1), r.field(2), r.field(3)};
        },
        AppendItemLine);
}

TableParse ParseSeasonings(QByteArrayView bytes, SeasoningList& rows) {
    return ParseRecords(
        bytes, rows, 2,
        [](Cp932FieldReader& r) {
            return SeasoningRecord{r.field(0), r.field(1)};
        },
        AppendSeasoningLine);
}

void AppendItemLine(QByteArray& out, const ItemRecord& item) {
    QString name = item.ItemName;
    MakeNameStorable(name);
    AppendQuotedLine(out, {item.Checked, name, item.Sodium, item.ItemSalt});
}

void AppendSeasoningLine(QByteArray& out, const SeasoningRecord& row) {
    QString name = row.SeasoningName;
    MakeNameStorable(name);
    AppendQuotedLine(out, {TrimSpaces(name), row.UnitSalt});
}

}  // namespace morv
