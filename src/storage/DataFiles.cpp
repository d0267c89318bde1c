#include "storage/DataFiles.h"

#include "storage/QuotedFields.h"
#include "text/Cp932.h"
#include "text/NumericText.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cmath>
#include <limits>
#include <utility>

namespace morv {
namespace {

const QString Kiroku = QStringLiteral("Kiroku");
const QString Chomi = QStringLiteral("Chomi");
const QString Enbun = QStringLiteral("Enbun");
const QString Moku = QStringLiteral("Moku");
const QString Atu = QStringLiteral("Atu");

QStringView TrimSpaces(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ') ++begin;
    while (end > begin && text[end - 1] == u' ') --end;
    return text.mid(begin, end - begin);
}

QString FirstLine(const QString& text) {
    qsizetype end = 0;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    return text.left(end);
}

// A table handed in short (it should always have 161 slots) is completed the
// way a fresh table is, so the file still gets its 160 lines.
void EnsureSlots(ItemList& items) {
    const qsizetype had = qsizetype(items.size());
    if (had >= ItemSlotCount) return;
    items.resize(ItemSlotCount);
    for (qsizetype slot = had; slot < StoredItemCount; ++slot)
        items[size_t(slot)].Checked = QStringLiteral("0");
}

}  // namespace

DataFiles::DataFiles(QString folder, StatusSink status, Now now, FileOps& ops)
    : folder_(std::move(folder)), status_(std::move(status)), now_(std::move(now)), ops_(ops) {}

void DataFiles::Prepare() {
    SafeFile items(ops_, folder_, Kiroku);
    if (!items.exists()) CreateFileDurably(ops_, items.txtPath(), {});
    for (const QString& stem : {Kiroku, Chomi, Moku, Enbun, Atu})
        SafeFile(ops_, folder_, stem).restoreInterrupted();
}

int DataFiles::writeFile(const QString& stem, const QByteArray& bytes) {
    if (SafeFile(ops_, folder_, stem).write(bytes)) return 0;
    if (status_) status_(StorageErrorText);
    return 1;
}

int DataFiles::KirokuFileWrite(ItemList& items) {
    EnsureSlots(items);
    QString text;
    for (int slot = 0; slot < StoredItemCount; ++slot) {
        ItemRecord& item = items[size_t(slot)];
        ReplaceQuoteMarks(item.ItemName);
        text += QuotedLine(
            {QuoteFree(item.Checked), item.ItemName, QuoteFree(item.Sodium), QuoteFree(item.ItemSalt)});
    }
    return writeFile(Kiroku, EncodeCp932(text));
}

int DataFiles::ChomiFileWrite(SeasoningList& rows) {
    QString text;
    for (SeasoningRecord& row : rows) {
        ReplaceQuoteMarks(row.SeasoningName);
        text += QuotedLine({TrimSpaces(row.SeasoningName), QuoteFree(row.UnitSalt)});
    }
    return writeFile(Chomi, EncodeCp932(text));
}

QByteArray EnbunBytes(const LogList& log) {
    QString text;
    for (const LogRecord& day : log) {
        text += QuotedLine({QuoteFree(day.LogDate), QuoteFree(day.DaySalt), QuoteFree(day.PressureLow),
                            QuoteFree(day.PressureHigh)});
    }
    return EncodeCp932(text);
}

int DataFiles::EnbunFileWrite(const LogList& log) { return writeFile(Enbun, EnbunBytes(log)); }

int DataFiles::deleteFile(const QString& stem) {
    if (SafeFile(ops_, folder_, stem).remove()) return 0;
    if (status_) status_(StorageErrorText);
    return 1;
}

int DataFiles::KirokuFileDelete() { return deleteFile(Kiroku); }
int DataFiles::EnbunFileDelete() { return deleteFile(Enbun); }

int DataFiles::MokuFileWrite(const QString& target) { return writeFile(Moku, EncodeCp932(target) + "\r\n"); }

int DataFiles::AtuFileWrite(qint32 shift) { return writeFile(Atu, QByteArray::number(shift) + "\r\n"); }

int DataFiles::failRead(const QString& stem, SafeFile& file, const QByteArray& bytes, bool readable) {
    // A missing file is the normal state of a new diary and is not shown.
    if (!file.exists()) return 1;
    salvage(stem, file, bytes, readable);
    if (status_) status_(StorageErrorText);
    return 1;
}

void DataFiles::salvage(const QString& stem, SafeFile& file, const QByteArray& bytes, bool readable) {
    const QDir dir(folder_.isEmpty() ? QStringLiteral(".") : folder_);
    if (readable) {
        // A broken file fails again at every start-up until it is replaced;
        // one copy of the same bytes is enough.
        const QString pattern = stem + QLatin1String(".unreadable-*.txt");
        for (const QString& name : dir.entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name)) {
            QFile earlier(dir.filePath(name));
            if (earlier.size() == bytes.size() && earlier.open(QIODevice::ReadOnly) &&
                earlier.readAll() == bytes) {
                lastSalvaged_ = folder_ + name;
                return;
            }
        }
    }
    const QDateTime when = now_ ? now_() : QDateTime::currentDateTime();
    const QString base =
        folder_ + stem + QLatin1String(".unreadable-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n < 1000; ++n) {
        const QString path =
            base + (n > 1 ? QLatin1Char('-') + QString::number(n) : QString()) + QLatin1String(".txt");
        if (readable ? CreateFileDurably(ops_, path, bytes) : file.moveAside(path)) {
            lastSalvaged_ = path;
            return;
        }
        if (errno != EEXIST) return;
    }
}

int DataFiles::KirokuFileRead(ItemList& items) {
    lastSalvaged_.clear();
    EnsureSlots(items);
    SafeFile file(ops_, folder_, Kiroku);
    file.restoreInterrupted();
    QByteArray bytes;
    if (!file.readAll(bytes)) return failRead(Kiroku, file, bytes, false);
    FieldReader reader(DecodeCp932(bytes));
    QStringList f;
    for (int slot = 0;; ++slot) {
        switch (reader.next(4, f)) {
            case FieldReader::Result::End:
                return 0;
            case FieldReader::Result::Broken:
                return failRead(Kiroku, file, bytes, true);
            case FieldReader::Result::Record:
                // More records than the table has slots: what does not fit would
                // be lost by the next save, so the read fails (and keeps a copy).
                if (slot >= ItemSlotCount) return failRead(Kiroku, file, bytes, true);
                items[size_t(slot)] = {f[0], f[1], f[2], f[3]};
                break;
        }
    }
}

int DataFiles::ChomiFileRead(SeasoningList& rows) {
    SafeFile file(ops_, folder_, Chomi);
    file.restoreInterrupted();
    QByteArray bytes;
    if (!file.readAll(bytes)) return 0;
    // The seasoning rows have defaults to fall back on, so a bad file is
    // not worth a message: the rows read so far are kept.
    FieldReader reader(DecodeCp932(bytes));
    QStringList f;
    for (SeasoningRecord& row : rows) {
        if (reader.next(2, f) != FieldReader::Result::Record) break;
        row = {f[0], f[1]};
    }
    return 0;
}

int DataFiles::EnbunFileRead(LogList& log) {
    lastSalvaged_.clear();
    log.clear();
    SafeFile file(ops_, folder_, Enbun);
    file.restoreInterrupted();
    QByteArray bytes;
    if (!file.readAll(bytes)) return failRead(Enbun, file, bytes, false);
    FieldReader reader(DecodeCp932(bytes));
    QStringList f;
    for (;;) {
        switch (reader.next(4, f)) {
            case FieldReader::Result::End:
                return 0;
            case FieldReader::Result::Broken:
                log.clear();
                return failRead(Enbun, file, bytes, true);
            case FieldReader::Result::Record:
                log.push_back({f[0], f[1], f[2], f[3]});
                break;
        }
    }
}

int DataFiles::MokuFileRead(QString& target) {
    target.clear();
    SafeFile file(ops_, folder_, Moku);
    file.restoreInterrupted();
    QByteArray bytes;
    if (file.readAll(bytes)) target = FirstLine(DecodeCp932(bytes));
    return 0;
}

int DataFiles::AtuFileRead(qint32& shift) {
    shift = DefaultPressureBarShift;
    SafeFile file(ops_, folder_, Atu);
    file.restoreInterrupted();
    QByteArray bytes;
    if (!file.readAll(bytes)) return 0;
    const std::optional<double> value = NumericValue(FirstLine(DecodeCp932(bytes)));
    if (!value) return 0;
    // Halves go to the even neighbour, as the conversion to a whole number
    // has always done.
    const double whole = std::nearbyint(*value);
    if (whole >= double(std::numeric_limits<qint32>::min()) &&
        whole <= double(std::numeric_limits<qint32>::max()))
        shift = qint32(whole);
    return 0;
}

}  // namespace morv
