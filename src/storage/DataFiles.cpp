#include "storage/DataFiles.h"

#include "storage/DataFolder.h"
#include "storage/QuotedFields.h"
#include "storage/TableParse.h"
#include "storage/UsualLog.h"
#include "text/Cp932.h"
#include "text/NumericText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace morv {
namespace {

const QString Kiroku = QStringLiteral("Kiroku");
const QString Chomi = QStringLiteral("Chomi");
const QString Enbun = QStringLiteral("Enbun");
const QString Moku = QStringLiteral("Moku");
const QString Atu = QStringLiteral("Atu");

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

QString FirstLine(const QString& text) {
    qsizetype end = 0;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    return text.left(end);
}

qint64 DataFileCeiling(const QString& stem) { return stem == Enbun ? LogFileCeiling : SmallFileCeiling; }

SafeFile DataFiles::fileOf(FileOps& ops, const QString& folder, const QString& stem) {
    SafeFile file(ops, folder, stem);
    file.setCeiling(DataFileCeiling(stem));
    return file;
}

SafeFile DataFiles::fileOf(const QString& stem) const { return fileOf(ops_, folder_, stem); }

DataFiles::DataFiles(QString folder, StatusSink status, Now now, FileOps& ops)
    : folder_(std::move(folder)), status_(std::move(status)), now_(std::move(now)), ops_(ops) {}

void DataFiles::Prepare() {
    SafeFile items = fileOf(Kiroku);
    if (!items.exists()) CreateFileDurably(ops_, items.txtPath(), {});
    for (const QString& stem : {Kiroku, Chomi, Moku, Enbun, Atu}) {
        SafeFile file = fileOf(stem);
        restore(stem, file);
    }
}

int DataFiles::writeFile(const QString& stem, const QByteArray& bytes) {
    const std::optional<FileWrite> how = beginWrite(stem);
    if (!how) return reportFailure();
    // The same bytes again are not written (SafeFile compares them with the
    // file): the diary is saved every few seconds.
    SafeFile file = fileOf(stem);
    LogWritten result;
    result.written = how->expected
                         ? file.write(bytes, *how->expected)
                         : (file.write(bytes) ? SafeFile::Written::Done : SafeFile::Written::Failed);
    result.stamp = result.written == SafeFile::Written::Done ? file.stamp() : file.current();
    return finishWrite(stem, result);
}

std::optional<DataFiles::FileWrite> DataFiles::beginWrite(const QString& stem) {
    // A file never read here has no version to keep to; neither has one
    // whose whole folder went away: the save makes it again, private as at
    // start-up.
    auto known = stamps_.find(stem);
    if (!folder_.isEmpty() && !QFileInfo(folder_).isDir()) {
        MakeDataFolder(folder_);
        if (known != stamps_.end()) known->second = {};
    }
    if (!makeHeldCopies(stem)) return std::nullopt;
    // A backup that arrived since the last read is sorted out here, on this
    // thread, so that the save never puts back one that is not ours.
    // Our own backup put back is the version this save replaces now.
    if (SafeFile file = fileOf(stem); file.backupExists()) {
        const FileStamp before = file.current();
        restore(stem, file);
        if (known != stamps_.end() && known->second == before) known->second = fileOf(stem).current();
    }
    FileWrite how{folder_, std::nullopt};
    if (known != stamps_.end()) how.expected = known->second;
    return how;
}

int DataFiles::finishWrite(const QString& stem, const LogWritten& result) {
    const auto known = stamps_.find(stem);
    switch (result.written) {
        case SafeFile::Written::Done:
            if (known != stamps_.end()) known->second = result.stamp;
            asWritten_[stem] = true;
            return 0;
        case SafeFile::Written::ChangedElsewhere:
            return ChangedElsewhere;
        case SafeFile::Written::Failed:
            break;
    }
    // What is there now is whatever the failed write put back.
    if (known != stamps_.end()) known->second = result.stamp;
    return reportFailure();
}

std::optional<DataFiles::LogWrite> DataFiles::BeginLogWrite() {
    const std::optional<FileWrite> how = beginWrite(Enbun);
    if (!how) reportFailure();
    return how;
}

DataFiles::LogWritten DataFiles::WriteLog(FileOps& ops, const LogWrite& how, std::span<const LogRecord> log,
                                          const std::function<void()>& encoded) {
    SafeFile file = fileOf(ops, how.folder, Enbun);
    const QByteArray bytes = EnbunBytesOf(log);
    if (encoded) encoded();
    LogWritten result;
    result.written = how.expected ? file.write(bytes, *how.expected)
                                  : (file.write(bytes) ? SafeFile::Written::Done : SafeFile::Written::Failed);
    result.stamp = result.written == SafeFile::Written::Done ? file.stamp() : file.current();
    return result;
}

int DataFiles::FinishLogWrite(const LogWritten& result) { return finishWrite(Enbun, result); }

std::optional<DataFiles::LogReread> DataFiles::ReadUsualLogAway(FileOps& ops, const QString& folder) {
    SafeFile file = fileOf(ops, folder, Enbun);
    if (file.backupExists()) return std::nullopt;
    LogReread read;
    if (file.read(read.bytes) != SafeFile::ReadResult::Read || file.current() != file.stamp())
        return std::nullopt;
    read.stamp = file.stamp();
    read.log.reserve(size_t(std::count(read.bytes.cbegin(), read.bytes.cend(), '\n')) + LogGrowthStep);
    if (!ReadUsualLog(read.bytes, read.log)) return std::nullopt;
    return read;
}

void DataFiles::AcceptLogReread(const FileStamp& stamp) {
    stamps_[Enbun] = stamp;
    asWritten_[Enbun] = true;
}

bool DataFiles::ChangedOnDisk(const QString& stem) {
    const auto known = stamps_.find(stem);
    if (known == stamps_.end()) return false;
    // The name itself, followed if a link: the file SafeFile would write.
    const FileStamp now = StampAt(ops_, systemName(stem));
    // A folder gone as a whole is no deletion of the diary: the next save makes it again.
    if (!now.exists && known->second.exists &&
        !QFileInfo(folder_.isEmpty() ? QStringLiteral(".") : folder_).isDir())
        return false;
    return now != known->second;
}

const QByteArray& DataFiles::systemName(const QString& stem) {
    QByteArray& name = systemNames_[stem];
    if (name.isEmpty()) name = QFile::encodeName(folder_ + stem + QLatin1String(".txt"));
    return name;
}

QString DataFiles::KeepConflictCopy(const QString& stem, const QByteArray& bytes) {
    for (int n = 1; n < 1000; ++n) {
        const QString path = copyName(stem, n, QLatin1String(".conflict-"));
        if (CreateFileDurably(ops_, path, bytes)) return path;
        if (errno != EEXIST) break;
    }
    return {};
}

QByteArray KirokuBytes(const ItemList& items) {
    QByteArray bytes;
    for (size_t slot = 0; slot < size_t(StoredItemCount); ++slot) {
        AppendItemLine(bytes,
                       slot < items.size() ? items[slot] : ItemRecord{QStringLiteral("0"), {}, {}, {}});
    }
    return bytes;
}

int DataFiles::KirokuFileWrite(ItemList& items) {
    EnsureSlots(items);
    // The table shows the names as the file now holds them.
    for (int slot = 0; slot < StoredItemCount; ++slot) MakeNameStorable(items[size_t(slot)].ItemName);
    return writeFile(Kiroku, KirokuBytes(items));
}

namespace {

QByteArray ChomiBytes(const SeasoningList& rows) {
    QByteArray bytes;
    for (const SeasoningRecord& row : rows) AppendSeasoningLine(bytes, row);
    return bytes;
}

}  // namespace

int DataFiles::ChomiFileWrite(SeasoningList& rows) {
    for (SeasoningRecord& row : rows) MakeNameStorable(row.SeasoningName);
    return writeFile(Chomi, ChomiBytes(rows));
}

QByteArray EnbunBytes(const LogList& log) { return EnbunBytesOf(log); }

QByteArray EnbunBytesOf(std::span<const LogRecord> log) {
    // Sized for the usual all-ASCII line up front, so the one buffer is
    // not copied as it grows.
    qsizetype size = 0;
    for (const LogRecord& day : log)
        size +=
            day.LogDate.size() + day.DaySalt.size() + day.PressureLow.size() + day.PressureHigh.size() + 13;
    QByteArray bytes;
    bytes.reserve(size);
    char16_t date[10];
    for (const LogRecord& day : log)
        AppendQuotedLine(bytes, {day.LogDate.view(date), day.DaySalt.view(), day.PressureLow.view(),
                                 day.PressureHigh.view()});
    return bytes;
}

int DataFiles::EnbunFileWrite(const LogList& log) { return writeFile(Enbun, EnbunBytes(log)); }

bool DataFiles::KeepChangedVersion(const QString& stem) {
    SafeFile file = fileOf(stem);
    QByteArray bytes;
    switch (file.read(bytes)) {
        case SafeFile::ReadResult::Read:
            break;
        case SafeFile::ReadResult::Missing:
            stamps_[stem] = {};
            return true;
        case SafeFile::ReadResult::NotRegular:
        case SafeFile::ReadResult::Failed:
        case SafeFile::ReadResult::TooLarge:
            return false;
    }
    const QString copy = KeepConflictCopy(stem, bytes);
    if (copy.isEmpty()) return false;
    noteKept(stem + QLatin1String(".txt"), copy, KeptBecause::Elsewhere);
    stamps_[stem] = file.stamp();
    return true;
}

int DataFiles::deleteFile(const QString& stem) {
    if (!makeHeldCopies(stem)) return reportFailure();
    SafeFile file = fileOf(stem);
    const bool removed = file.remove();
    asWritten_[stem] = false;
    if (auto known = stamps_.find(stem); known != stamps_.end()) known->second = file.current();
    if (removed) return 0;
    return reportFailure();
}

int DataFiles::KirokuFileDelete() { return deleteFile(Kiroku); }
int DataFiles::EnbunFileDelete() { return deleteFile(Enbun); }

int DataFiles::MokuFileWrite(const QString& target) { return writeFile(Moku, EncodeCp932(target) + "\r\n"); }

int DataFiles::AtuFileWrite(qint32 shift) { return writeFile(Atu, QByteArray::number(shift) + "\r\n"); }

QString DataFiles::copyName(const QString& stem, int n, QLatin1String kind) const {
    const QDateTime when = now_ ? now_() : QDateTime::currentDateTime();
    return folder_ + stem + kind + when.toString(QStringLiteral("yyyyMMdd-HHmmss")) +
           (n > 1 ? QLatin1Char('-') + QString::number(n) : QString()) + QLatin1String(".txt");
}

void DataFiles::noteKept(const QString& file, const QString& path, KeptBecause because, bool tooLarge,
                         bool tell) {
    if (!path.isEmpty()) {
        lastSalvaged_ = path;
        // Made after all: the file is no longer held back for it.
        std::erase_if(kept_, [&](const KeptCopy& k) {
            return k.copy.isEmpty() && k.file == file && k.because == because;
        });
    }
    if (!tell) return;
    for (const KeptCopy& earlier : kept_)
        if (earlier.copy == path && earlier.file == file && earlier.because == because) return;
    kept_.push_back({file, path, because, tooLarge});
}

bool DataFiles::keepCopy(const QString& stem, const QByteArray& bytes, KeptBecause because) {
    const auto same = [&](const HeldCopy& held) { return held.stem == stem && held.bytes == bytes; };
    if (makeCopy(stem, bytes, because)) {
        std::erase_if(held_, same);
        return true;
    }
    if (std::none_of(held_.cbegin(), held_.cend(), same)) held_.push_back({stem, bytes, because});
    noteKept(stem + QLatin1String(".txt"), {}, because);
    return false;
}

bool DataFiles::makeCopy(const QString& stem, const QByteArray& bytes, KeptBecause because) {
    const QString file = stem + QLatin1String(".txt");
    // A file that is not read exactly stays so until it is replaced; one copy
    // of the same bytes is enough.
    const QDir dir(folder_.isEmpty() ? QStringLiteral(".") : folder_);
    const QString pattern = stem + QLatin1String(".unreadable-*.txt");
    for (const QString& name : dir.entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name)) {
        QFile earlier(dir.filePath(name));
        if (earlier.size() == bytes.size() && earlier.open(QIODevice::ReadOnly) &&
            earlier.readAll() == bytes) {
            // A file read with changes that has not changed since its copy was
            // made was told about then; being told again at every start only
            // teaches the user to ignore the notice. One that cannot be read
            // at all is still told, as its data is not shown.
            noteKept(file, folder_ + name, because, false, because != KeptBecause::Changed);
            return true;
        }
    }
    for (int n = 1; n < 1000; ++n) {
        const QString path = copyName(stem, n);
        if (CreateFileDurably(ops_, path, bytes)) {
            noteKept(file, path, because);
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool DataFiles::makeHeldCopies(const QString& stem) {
    for (auto held = held_.begin(); held != held_.end();) {
        if (held->stem != stem) {
            ++held;
        } else if (makeCopy(held->stem, held->bytes, held->because)) {
            held = held_.erase(held);
        } else {
            return false;
        }
    }
    return true;
}

QStringList DataFiles::heldBack() const {
    QStringList files;
    for (const HeldCopy& held : held_)
        if (!files.contains(held.stem + QLatin1String(".txt"))) files << held.stem + QLatin1String(".txt");
    return files;
}

void DataFiles::keepByRename(const QString& stem, SafeFile& file, bool backup, SafeFile::ReadResult read) {
    for (int n = 1; n < 1000; ++n) {
        const QString path = copyName(stem, n);
        if (backup ? file.moveBackupAside(path) : file.moveAside(path)) {
            noteKept(stem + QLatin1String(backup ? ".bak" : ".txt"), path, KeptBecause::Unreadable,
                     read == SafeFile::ReadResult::TooLarge);
            if (read == SafeFile::ReadResult::NotRegular && !kept_.empty() && kept_.back().copy == path)
                kept_.back().notAFile = true;
            return;
        }
        if (errno != EEXIST) return;
    }
}

namespace {

// A file cut short or with a quote never closed: no save, here or on another
// machine, installs such a file, so a backup beside it is the last good version.
bool CutShort(const QString& stem, const QByteArray& bytes) {
    if (stem == Enbun) {
        LogList days;
        return ParseLog(bytes, days) == LogParse::Broken;
    }
    if (stem == Kiroku) {
        Cp932FieldReader reader(bytes);
        for (int record = 0; record <= ItemSlotCount; ++record) {
            switch (reader.next(4)) {
                case FieldResult::End:
                    return false;
                case FieldResult::Broken:
                    return true;
                case FieldResult::Record:
                    break;
            }
        }
    }
    return false;
}

}  // namespace

void DataFiles::offerLeftover(const QString& stem, SafeFile& file, const QByteArray& backup) {
    QString copy;
    for (int n = 1; n < 1000; ++n) {
        const QString path = copyName(stem, n, QLatin1String(".merged-"));
        if (file.moveBackupAside(path)) {
            copy = path;
            break;
        }
        if (errno != EEXIST) break;
    }
    for (const LeftoverBackup& offered : leftovers_)
        if (offered.stem == stem && offered.bytes == backup && offered.copy == copy) return;
    leftovers_.push_back({stem, backup, copy});
}

bool DataFiles::restore(const QString& stem, SafeFile& file) {
    if (file.backupExists()) {
        QByteArray backup, current;
        if (const SafeFile::ReadResult read = file.readBackup(backup); read != SafeFile::ReadResult::Read) {
            // Not a backup this program made: never put over the data file.
            keepByRename(stem, file, true, read);
        } else {
            switch (const SafeFile::ReadResult read = file.read(current)) {
                case SafeFile::ReadResult::Read:
                    if (current == backup) break;
                    // Someone else's newer file, or a file that arrived after
                    // our save was cut short: it stands, and the backup's
                    // content goes to the caller to be merged.
                    if (!file.installedByOurInterruptedSave(current) && !CutShort(stem, current)) {
                        offerLeftover(stem, file, backup);
                        file.restoreInterrupted(false);
                        return true;
                    }
                    // Our own save that got as far as installing the new file;
                    // its content is kept while the last good version comes back.
                    // Not kept: both stay, and the backup is what is read.
                    if (!keepCopy(stem, current, KeptBecause::Replaced)) return false;
                    break;
                case SafeFile::ReadResult::Missing:
                    break;
                case SafeFile::ReadResult::NotRegular:
                case SafeFile::ReadResult::Failed:
                case SafeFile::ReadResult::TooLarge:
                    keepByRename(stem, file, false, read);
                    break;
            }
        }
    }
    file.restoreInterrupted();
    return true;
}

DataFiles::Loaded DataFiles::load(const QString& stem, QByteArray& bytes) {
    SafeFile file = fileOf(stem);
    const bool settled = restore(stem, file);
    asWritten_[stem] = false;
    loadSettled_ = settled;
    const SafeFile::ReadResult read = settled ? file.read(bytes) : file.readBackup(bytes);
    switch (read) {
        case SafeFile::ReadResult::Read:
            // Read from a backup that could not be put back yet: what a save
            // will replace is the X.txt that stands.
            stamps_[stem] = settled ? file.stamp() : file.current();
            if (keepReadBytes_) readBytes_ = bytes;
            return Loaded::Read;
        case SafeFile::ReadResult::Missing:
            stamps_[stem] = {};
            if (keepReadBytes_) readBytes_.clear();
            return Loaded::Missing;
        case SafeFile::ReadResult::NotRegular:
        case SafeFile::ReadResult::Failed:
        case SafeFile::ReadResult::TooLarge:
            break;
    }
    // Renaming keeps bytes that cannot be read or are too many to, and a FIFO
    // or a folder out of the way of every later start and save.
    keepByRename(stem, file, false, read);
    // Looked up anew: `file` may still stand for where a link it was pointed.
    stamps_[stem] = fileOf(stem).current();
    if (keepReadBytes_) readBytes_.clear();
    return Loaded::Unreadable;
}

std::optional<int> DataFiles::loadRecords(const QString& stem, QByteArray& bytes, ReadUse* use) {
    switch (load(stem, bytes)) {
        case Loaded::Missing:
            if (use) *use = ReadUse::Missing;
            return 1;  // the normal state of a new diary, not shown
        case Loaded::Unreadable:
            if (use) *use = ReadUse::Keep;
            return reportFailure();
        case Loaded::Read:
            break;
    }
    return std::nullopt;
}

int DataFiles::reportFailure() {
    if (status_) status_(StorageErrorText);
    return 1;
}

namespace {

void Tell(DataFiles::ReadUse* use, DataFiles::ReadUse value) {
    if (use) *use = value;
}

}  // namespace

DataFiles::ReadUse DataFiles::useOf(Loaded loaded) {
    return loaded == Loaded::Missing ? ReadUse::Missing : ReadUse::Keep;
}

int DataFiles::KirokuFileRead(ItemList& items, ReadUse* use) {
    lastSalvaged_.clear();
    EnsureSlots(items);
    QByteArray bytes;
    if (const std::optional<int> status = loadRecords(Kiroku, bytes, use)) return *status;
    const TableParse parse = ParseItems(bytes, items);
    if (!parse.complete()) {
        // More records than the table has slots: what does not fit would be
        // lost by the next save, so the read fails (and keeps a copy).
        keepCopy(Kiroku, bytes, KeptBecause::Unreadable);
        Tell(use, ReadUse::Keep);
        return reportFailure();
    }
    // A record in the last slot is never saved.
    if (!parse.faithful || parse.records > size_t(StoredItemCount))
        keepCopy(Kiroku, bytes, KeptBecause::Changed);
    else
        noteRead(Kiroku, KirokuBytes(items) == bytes);
    Tell(use, ReadUse::Replace);
    return 0;
}

int DataFiles::ChomiFileRead(SeasoningList& rows, ReadUse* use) {
    // The seasoning rows have defaults to fall back on, so a bad file is
    // not worth a status message: the rows read so far are kept.
    QByteArray bytes;
    if (const Loaded loaded = load(Chomi, bytes); loaded != Loaded::Read) {
        Tell(use, useOf(loaded));
        return 0;
    }
    const TableParse parse = ParseSeasonings(bytes, rows);
    if (!parse.faithful || !parse.complete())
        keepCopy(Chomi, bytes, KeptBecause::Changed);
    else
        noteRead(Chomi, ChomiBytes(rows) == bytes);
    Tell(use, ReadUse::Replace);
    return 0;
}

int DataFiles::EnbunFileRead(LogList& log, ReadUse* use) {
    lastSalvaged_.clear();
    log.clear();
    QByteArray bytes;
    if (const std::optional<int> status = loadRecords(Enbun, bytes, use)) return *status;
    // One day a line: reserving for the line count keeps the table from
    // being copied as it grows. Only as far as the bytes could hold days of
    // the shortest usual line, though: a file of bare line ends would
    // otherwise reserve a record for every two bytes.
    // memchr runs through the bytes a vector at a time; counting them one by
    // one cost a tenth of a short log's read.
    constexpr qsizetype ShortestUsualLine = sizeof("\"yyyy/mm/dd\",\"\",\"\",\"\"\r\n") - 1;
    size_t lines = 1;
    for (const char *p = bytes.cbegin(), *end = bytes.cend();
         (p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)))); ++p)
        ++lines;
    // The room for new days is left at once, while the table is still empty.
    log.reserve(std::min(lines, size_t(bytes.size() / ShortestUsualLine) + 1) + LogGrowthStep);
    bool usual = false;
    switch (ParseLog(bytes, log, &usual)) {
        case LogParse::Exact:
            noteRead(Enbun, usual);
            Tell(use, ReadUse::Replace);
            return 0;
        case LogParse::Changed:
            keepCopy(Enbun, bytes, KeptBecause::Changed);
            // Blank lines or lines ended by CR alone miscount the days.
            if (log.capacity() - log.size() > log.size() / 8) log.shrink_to_fit();
            Tell(use, ReadUse::Replace);
            return 0;
        case LogParse::Broken:
            break;
    }
    log = {};
    keepCopy(Enbun, bytes, KeptBecause::Unreadable);
    Tell(use, ReadUse::Keep);
    return reportFailure();
}

int DataFiles::MokuFileRead(QString& target, ReadUse* use) {
    target.clear();
    QByteArray bytes;
    if (const Loaded loaded = load(Moku, bytes); loaded != Loaded::Read) {
        Tell(use, useOf(loaded));
        return 0;
    }
    bool undecodable = false;
    const QString text = DecodeCp932(bytes, &undecodable);
    target = FirstLine(text);
    // Only the first line is ever written back.
    if (undecodable || !QStringView(text).mid(target.size()).trimmed().isEmpty())
        keepCopy(Moku, bytes, KeptBecause::Changed);
    else
        noteRead(Moku, EncodeCp932(target) + "\r\n" == bytes);
    Tell(use, ReadUse::Replace);
    return 0;
}

int DataFiles::AtuFileRead(qint32& shift, ReadUse* use) {
    shift = DefaultPressureBarShift;
    QByteArray bytes;
    if (const Loaded loaded = load(Atu, bytes); loaded != Loaded::Read) {
        Tell(use, useOf(loaded));
        return 0;
    }
    const std::optional<double> value = NumericValue(FirstLine(DecodeCp932(bytes)));
    if (value) {
        // Halves go to the even neighbour, as the conversion to a whole number
        // has always done.
        const double whole = std::nearbyint(*value);
        if (whole >= double(std::numeric_limits<qint32>::min()) &&
            whole <= double(std::numeric_limits<qint32>::max()))
            shift = qint32(whole);
    }
    const QByteArray written = bytes.trimmed();
    if (!written.isEmpty() && written != QByteArray::number(shift))
        keepCopy(Atu, bytes, KeptBecause::Changed);
    else
        noteRead(Atu, QByteArray::number(shift) + "\r\n" == bytes);
    Tell(use, ReadUse::Replace);
    return 0;
}

}  // namespace morv
