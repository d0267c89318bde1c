#include "diary/ChangeJournal.h"

#include "diary/DiaryBooks.h"

#include <QDir>
#include <QFileInfo>

#include <map>

namespace morv {
namespace {

const char* const OpItem = "item";
const char* const OpSeasoning = "seasoning";
const char* const OpTarget = "target";
const char* const OpShift = "shift";
const char* const OpDay = "day";
const char* const OpDayGone = "day-";
const char* const OpLogGone = "log-";
const char* const OpSeen = "seen";

// Days are written in parts of this many lines.
constexpr size_t DaysPerAppend = 20000;

QString ItemName(int slot) {
    return QStringLiteral("品目 %1 ページ %2 行目").arg(slot / 16 + 1).arg(slot % 16 + 1);
}
QString SeasoningName(int row) { return QStringLiteral("調味料 %1 行目").arg(row + 1); }

QString ItemText(const ItemRecord& r) {
    return r.ItemName.isEmpty() ? QStringLiteral("空欄")
                                : QStringLiteral("%1 %2 g").arg(r.ItemName, r.ItemSalt);
}
QString DayText(const std::optional<LogRecord>& d) {
    if (!d) return QStringLiteral("なし");
    QString text = QStringLiteral("%1 g").arg(d->DaySalt);
    if (!d->PressureLow.isEmpty() || !d->PressureHigh.isEmpty())
        text += QStringLiteral("、血圧 %1/%2").arg(d->PressureHigh, d->PressureLow);
    return text;
}

bool IsEmpty(const ItemRecord& r) {
    return r.ItemName.isEmpty() && r.Sodium.isEmpty() && r.ItemSalt.isEmpty();
}
bool IsEmpty(const SeasoningRecord& r) { return r.SeasoningName.isEmpty() && r.UnitSalt.isEmpty(); }

QString Field(const JournalEntry& e, int i) { return i < e.fields.size() ? e.fields[i] : QString(); }

ItemRecord ItemOf(const JournalEntry& e) { return {Field(e, 0), Field(e, 1), Field(e, 2), Field(e, 3)}; }
SeasoningRecord SeasoningOf(const JournalEntry& e) { return {Field(e, 0), Field(e, 1)}; }
LogRecord DayOf(const JournalEntry& e) { return {e.key, Field(e, 0), Field(e, 1), Field(e, 2)}; }

std::optional<LogRecord> DayIn(const Diary& diary, const QString& date) {
    const LogPlace place = diary.FindPlace(date);
    if (place.kind != LogPlace::Kind::Existing) return std::nullopt;
    return diary.DailyLog()[static_cast<size_t>(place.index)];
}

}  // namespace

ChangeJournal::ChangeJournal(Diary& diary, const QString& dataFolder, Machine me, FileOps& ops,
                             std::function<qint64()> nowMillis)
    : diary_(diary),
      folder_(dataFolder + QLatin1String("journal/")),
      me_(std::move(me)),
      ops_(ops),
      hlc_(me_.node, std::move(nowMillis)) {}

JournalEntry ChangeJournal::entry(const Stamp& stamp, const char* op, const QString& key,
                                  QStringList fields) {
    JournalEntry e{stamp, QByteArray(op), key, std::move(fields)};
    remember(e);
    return e;
}

// ---- The start ----

void ChangeJournal::Start(const std::array<std::optional<qint64>, DataFileCount>& fileMillis) {
    // What the files gave stands until a line says otherwise: a file that a
    // machine wrote later than a line may still hold an older value (its
    // table was saved before that line reached it), so any line decides a
    // record it names, and a file decides only what no line names.
    fileMillis_ = fileMillis;
    auto fileClock = [&](DataFile file) -> std::optional<FieldClocks::Clock> {
        if (!fileMillis[static_cast<size_t>(file)]) return std::nullopt;
        FieldClocks::Clock clock;
        clock.fromFile = true;
        return clock;
    };
    if (const auto c = fileClock(DataFile::Kiroku))
        for (int slot = 0; slot < StoredItemCount; ++slot)
            if (!IsEmpty(diary_.ItemTable()[static_cast<size_t>(slot)])) clocks_.item(slot) = *c;
    if (const auto c = fileClock(DataFile::Chomi))
        for (int row = 0; row < SeasoningRowCount; ++row)
            if (!IsEmpty(diary_.SeasoningTable()[static_cast<size_t>(row)])) clocks_.seasoning(row) = *c;
    if (const auto c = fileClock(DataFile::Moku); c && !diary_.SaltTarget().isEmpty()) clocks_.target() = *c;
    if (const auto c = fileClock(DataFile::Atu); c && diary_.PressureBarShift() != DefaultPressureBarShift)
        clocks_.shift() = *c;
    if (const auto c = fileClock(DataFile::Enbun))
        for (const LogRecord& day : diary_.DailyLog()) clocks_.setDay(day.LogDate, *c);

    const QStringList files = JournalFiles(folder_);
    anyJournal_ = !files.isEmpty();
    for (const QString& path : files) foldFile(path, true);
    takeInFromFiles();
    compactOwn();
}

void ChangeJournal::compactOwn() {
    // The records whose newest line is this machine's: what a compacted
    // journal holds at least (other lines of ours may stand behind newer
    // lines of others, so this underestimates, never overestimates).
    qint64 records = 0;
    auto mine = [&](const FieldClocks::Clock& c) { records += c.stamp.node == me_.node; };
    for (int slot = 0; slot < StoredItemCount; ++slot) mine(clocks_.item(slot));
    for (int row = 0; row < SeasoningRowCount; ++row) mine(clocks_.seasoning(row));
    mine(clocks_.target());
    mine(clocks_.shift());
    clocks_.forEachDayClock(mine);
    if (ownLines_ < 2 * records + CompactAboveLines) return;
    JournalReader whole;
    const QString path = JournalPath(folder_, me_.node);
    const JournalRead read = whole.read(path);
    if (read.status != JournalRead::Status::Read || read.node != me_.node) return;
    const std::vector<JournalEntry> kept = Compact(read.entries, [](const JournalEntry& e) {
        CompactKey key;
        if (e.op == OpDay || e.op == OpDayGone) {
            key.field = QLatin1String("day/") + e.key;
            key.table = QStringLiteral("log");
        } else if (e.op == OpLogGone) {
            key.field = QStringLiteral("log-");
            key.table = QStringLiteral("log");
            key.clearsTable = true;
        } else if (e.op == OpItem || e.op == OpSeasoning || e.op == OpTarget || e.op == OpShift ||
                   e.op == OpSeen) {
            key.field = QString::fromLatin1(e.op) + u'/' + e.key;
        }
        // A line of a kind this version does not know stays as it is.
        return key;
    });
    if (kept.size() >= read.entries.size()) return;
    JournalWriter writer(ops_, folder_, me_.node, me_.name);
    // A failure leaves the journal as it was: compacting is only a saving.
    if (writer.rewrite(kept)) reader_.forget(path);
}

qint64 ChangeJournal::fileTime(DataFile file) const {
    return fileMillis_[static_cast<size_t>(file)].value_or(0);
}

void ChangeJournal::remember(const JournalEntry& e) {
    if (e.op == OpItem || e.op == OpSeasoning || e.op == OpTarget || e.op == OpShift)
        history_[QString::fromLatin1(e.op) + u'/' + e.key].insert(qHash(e.fields));
}

bool ChangeJournal::known(const QByteArray& op, const QString& key, const QStringList& fields) const {
    const auto found = history_.constFind(QString::fromLatin1(op) + u'/' + key);
    return found != history_.cend() && found->contains(qHash(fields));
}

void ChangeJournal::takeInFromFiles() {
    // A record that only a file holds is in no journal: it goes into this
    // machine's, at the file's time, so that no machine loses it with the file.
    QStringList kinds;
    for (int slot = 0; slot < StoredItemCount; ++slot) {
        FieldClocks::Clock& c = clocks_.item(slot);
        if (!c.fromFile) continue;
        c = {takenStamp(fileTime(DataFile::Kiroku), c.stamp), false};
        const ItemRecord& r = diary_.ItemTable()[static_cast<size_t>(slot)];
        pending_.push_back(
            entry(c.stamp, OpItem, QString::number(slot), {r.Checked, r.ItemName, r.Sodium, r.ItemSalt}));
        if (kinds.isEmpty() || kinds.back() != QLatin1String("Kiroku.txt"))
            kinds << QStringLiteral("Kiroku.txt");
    }
    for (int row = 0; row < SeasoningRowCount; ++row) {
        FieldClocks::Clock& c = clocks_.seasoning(row);
        if (!c.fromFile) continue;
        c = {takenStamp(fileTime(DataFile::Chomi), c.stamp), false};
        const SeasoningRecord& r = diary_.SeasoningTable()[static_cast<size_t>(row)];
        pending_.push_back(entry(c.stamp, OpSeasoning, QString::number(row), {r.SeasoningName, r.UnitSalt}));
        if (!kinds.contains(QLatin1String("Chomi.txt"))) kinds << QStringLiteral("Chomi.txt");
    }
    if (FieldClocks::Clock& c = clocks_.target(); c.fromFile) {
        c = {takenStamp(fileTime(DataFile::Moku), c.stamp), false};
        pending_.push_back(entry(c.stamp, OpTarget, {}, {diary_.SaltTarget()}));
        kinds << QStringLiteral("Moku.txt");
    }
    if (FieldClocks::Clock& c = clocks_.shift(); c.fromFile) {
        c = {takenStamp(fileTime(DataFile::Atu), c.stamp), false};
        pending_.push_back(entry(c.stamp, OpShift, {}, {QString::number(diary_.PressureBarShift())}));
        kinds << QStringLiteral("Atu.txt");
    }
    // The log's days from its file share the file's time; one pass finds them.
    int days = 0;
    clocks_.forEachDayClock([&](const FieldClocks::Clock& c) { days += c.fromFile; });
    if (days > 0) {
        const Stamp at = takenStamp(fileTime(DataFile::Enbun), {});
        if (days == diary_.LogCount()) {
            allDaysAt_ = at;
        } else {
            std::vector<QString> dates;
            clocks_.forEachDay([&](const QString& date, const FieldClocks::Clock& c) {
                if (c.fromFile) dates.push_back(date);
            });
            for (const QString& date : dates)
                if (const auto day = DayIn(diary_, date))
                    pending_.push_back(
                        entry(at, OpDay, date, {day->DaySalt, day->PressureLow, day->PressureHigh}));
        }
        clocks_.restampFileDays(at);
        kinds << QStringLiteral("Enbun.txt");
    }
    // The first start with journals says nothing: everything is in a file then.
    if (anyJournal_)
        for (const QString& kind : kinds) takenIn_ << QStringLiteral("「%1」").arg(kind);
}

Stamp ChangeJournal::takenStamp(qint64 millis, const Stamp& over) {
    Stamp stamp{millis, 0, me_.node};
    if (!(over < stamp)) stamp = Stamp{over.millis, over.counter + 1, me_.node};
    hlc_.see(stamp);
    return stamp;
}

// ---- Folding ----

void ChangeJournal::ReadOthers() {
    // What was changed here meanwhile holds its own stamp from now on, so a
    // line made elsewhere before it does not undo it.
    StampChanges();
    for (const QString& path : JournalFiles(folder_)) foldFile(path, false);
}

void ChangeJournal::foldFile(const QString& path, bool atStart) {
    // Lines are folded as they are decoded, days in parts: a journal of a
    // million days is never held whole.
    constexpr size_t DaysPerPart = 50000;
    std::vector<JournalEntry> days;
    QByteArray node;
    bool ours = false;
    JournalRead read = reader_.read(path, [&](JournalEntry&& e) {
        if (node.isEmpty()) {
            node = e.stamp.node;
            ours = node == me_.node;
        }
        // This machine's own lines are in the diary already, but at the start.
        if (ours && !atStart) return;
        if (ours) ++ownLines_;
        hlc_.see(e.stamp);
        if (folded_.value(node) < e.stamp) folded_[node] = e.stamp;
        if (e.op == OpSeen) {
            if (e.key.toLatin1() == me_.node)
                if (const auto seen = Stamp::parse(Field(e, 0).toLatin1());
                    seen && seenMe_.value(node) < *seen)
                    seenMe_[node] = *seen;
            return;
        }
        if (e.op == OpDay || e.op == OpDayGone || e.op == OpLogGone) {
            days.push_back(std::move(e));
            if (days.size() >= DaysPerPart) {
                foldDays(days, QString::fromLatin1(node));
                days.clear();
            }
            return;
        }
        fold(e, QString::fromLatin1(node));
    });
    if (!read.node.isEmpty()) hosts_[read.node] = read.hostName;
    if (read.node == me_.node) folded_.remove(me_.node);
    foldDays(days, QString::fromLatin1(node));
}

template <class Describe, class Apply>
void ChangeJournal::foldRecord(FieldClocks::Clock& clock, const JournalEntry& e, const QString& host,
                               bool same, Describe&& describe, Apply&& apply) {
    if (same) {
        // The line explains the value as it stands.
        if (clock.fromFile || clock.stamp < e.stamp) clock = {e.stamp, false};
        return;
    }
    if (!(clock.stamp < e.stamp)) return;  // an older line: the value stands
    if (!clock.fromFile && clock.stamp.node == me_.node && e.stamp.node != me_.node &&
        seenMe_.value(e.stamp.node) < clock.stamp) {
        Told told = describe();
        told.host = host;
        lost_.push_back(std::move(told));
    }
    clock = {e.stamp, false};
    apply();
}

void ChangeJournal::fold(const JournalEntry& e, const QString& host) {
    remember(e);
    if (e.op == OpItem) {
        bool ok = false;
        const int slot = e.key.toInt(&ok);
        if (!ok || slot < 0 || slot >= StoredItemCount) return;
        const ItemRecord theirs = ItemOf(e);
        const ItemRecord& ours = diary_.ItemTable()[static_cast<size_t>(slot)];
        foldRecord(
            clocks_.item(slot), e, host, ours == theirs,
            [&] {
                return Told{ItemName(slot), ItemText(ours), ItemText(theirs), {}};
            },
            [&] { DiaryBooks(diary_).ApplyItem(slot, theirs); });
    } else if (e.op == OpSeasoning) {
        bool ok = false;
        const int row = e.key.toInt(&ok);
        if (!ok || row < 0 || row >= SeasoningRowCount) return;
        const SeasoningRecord theirs = SeasoningOf(e);
        const SeasoningRecord& ours = diary_.SeasoningTable()[static_cast<size_t>(row)];
        foldRecord(
            clocks_.seasoning(row), e, host, ours == theirs,
            [&] {
                return Told{SeasoningName(row),
                            ours.SeasoningName + QLatin1Char(' ') + ours.UnitSalt,
                            theirs.SeasoningName + QLatin1Char(' ') + theirs.UnitSalt,
                            {}};
            },
            [&] { DiaryBooks(diary_).ApplySeasoning(row, theirs); });
    } else if (e.op == OpTarget) {
        const QString theirs = Field(e, 0);
        foldRecord(
            clocks_.target(), e, host, diary_.SaltTarget() == theirs,
            [&] {
                return Told{QStringLiteral("塩分目標"), diary_.SaltTarget(), theirs, {}};
            },
            [&] { DiaryBooks(diary_).ApplyTarget(theirs); });
    } else if (e.op == OpShift) {
        bool ok = false;
        const qint32 theirs = Field(e, 0).toInt(&ok);
        if (!ok) return;
        foldRecord(
            clocks_.shift(), e, host, diary_.PressureBarShift() == theirs,
            [&] {
                return Told{QStringLiteral("血圧グラフの位置"),
                            QString::number(diary_.PressureBarShift()),
                            QString::number(theirs),
                            {}};
            },
            [&] { DiaryBooks(diary_).ApplyShift(theirs); });
    }
    // A line of a kind this version does not know is left to the version that does.
}

void ChangeJournal::foldDays(const std::vector<JournalEntry>& lines, const QString& host) {
    std::map<QString, std::optional<LogRecord>> batch;
    auto current = [&](const QString& date) {
        const auto found = batch.find(date);
        return found != batch.end() ? found->second : DayIn(diary_, date);
    };
    auto flush = [&] {
        DiaryBooks(diary_).ApplyDays(batch);
        batch.clear();
    };
    for (const JournalEntry& e : lines) {
        if (e.op == OpLogGone) {
            if (!(clocks_.logDeleted() < e.stamp)) continue;
            clocks_.logDeleted() = e.stamp;
            flush();
            // Every day older than the deletion goes; a day set after it stays.
            for (const LogRecord& day : diary_.DailyLog())
                if (clocks_.day(day.LogDate).stamp < e.stamp) batch[day.LogDate] = std::nullopt;
            flush();
            continue;
        }
        const QString& date = e.key;
        if (date.isEmpty()) continue;
        FieldClocks::Clock clock = clocks_.day(date);
        // A day set before the log's latest deletion is gone with it.
        if (e.op == OpDay && !(clocks_.logDeleted() < e.stamp)) continue;
        const std::optional<LogRecord> ours = current(date);
        const bool same = e.op == OpDay
                              ? ours && ours->DaySalt == Field(e, 0) && ours->PressureLow == Field(e, 1) &&
                                    ours->PressureHigh == Field(e, 2)
                              : !ours;
        auto theirs = [&]() -> std::optional<LogRecord> {
            if (e.op == OpDay) return DayOf(e);
            return std::nullopt;
        };
        foldRecord(
            clock, e, host, same,
            [&] {
                return Told{QStringLiteral("%1 の記録").arg(date), DayText(ours), DayText(theirs()), {}};
            },
            [&] { batch[date] = theirs(); });
        clocks_.setDay(date, clock);
    }
    flush();
}

// ---- Files found on disk ----

bool ChangeJournal::Differs(DataFile file, const FileVersion& v) const {
    return KindOf(file).differs(diary_, v);
}

int ChangeJournal::Absorb(DataFile file, const FileVersion& v, qint64 millis, const QString& from) {
    StampChanges();
    const Stamp fileTime{millis, 0, QByteArray()};
    int taken = 0;
    // A record goes in when it is not empty, differs, and nothing newer than
    // the file set it: a file cut short, emptied or older takes nothing away.
    // A value a line once set is an old one, whatever the file's time: a
    // machine may save its table after a line that changed it arrived, and
    // before it folded that line.
    // A value a line once set is an old one, whatever the file's time: a
    // machine may save its table after another's line changed the record
    // and before it folded that line.
    auto take = [&](FieldClocks::Clock& clock, bool differs, bool empty, auto&& apply, auto&& line) {
        if (!differs || empty || !(clock.stamp < fileTime)) return;
        clock = {takenStamp(millis, clock.stamp), false};
        apply();
        pending_.push_back(line(clock.stamp));
        ++taken;
    };
    switch (file) {
        case DataFile::Kiroku:
            for (int slot = 0; slot < StoredItemCount; ++slot) {
                const ItemRecord& r = v.items[static_cast<size_t>(slot)];
                take(
                    clocks_.item(slot), !(r == diary_.ItemTable()[static_cast<size_t>(slot)]),
                    IsEmpty(r) ||
                        known(OpItem, QString::number(slot), {r.Checked, r.ItemName, r.Sodium, r.ItemSalt}),
                    [&] { DiaryBooks(diary_).ApplyItem(slot, r); },
                    [&](const Stamp& s) {
                        return entry(s, OpItem, QString::number(slot),
                                     {r.Checked, r.ItemName, r.Sodium, r.ItemSalt});
                    });
            }
            break;
        case DataFile::Chomi:
            for (int row = 0; row < SeasoningRowCount; ++row) {
                const SeasoningRecord& r = v.seasonings[static_cast<size_t>(row)];
                take(
                    clocks_.seasoning(row), !(r == diary_.SeasoningTable()[static_cast<size_t>(row)]),
                    IsEmpty(r) || known(OpSeasoning, QString::number(row), {r.SeasoningName, r.UnitSalt}),
                    [&] { DiaryBooks(diary_).ApplySeasoning(row, r); },
                    [&](const Stamp& s) {
                        return entry(s, OpSeasoning, QString::number(row), {r.SeasoningName, r.UnitSalt});
                    });
            }
            break;
        case DataFile::Moku:
            take(
                clocks_.target(), v.target != diary_.SaltTarget(),
                v.target.isEmpty() || known(OpTarget, {}, {v.target}),
                [&] { DiaryBooks(diary_).ApplyTarget(v.target); },
                [&](const Stamp& s) { return entry(s, OpTarget, {}, {v.target}); });
            break;
        case DataFile::Atu:
            take(
                clocks_.shift(), v.shift != diary_.PressureBarShift(),
                v.shift == DefaultPressureBarShift || known(OpShift, {}, {QString::number(v.shift)}),
                [&] { DiaryBooks(diary_).ApplyShift(v.shift); },
                [&](const Stamp& s) { return entry(s, OpShift, {}, {QString::number(v.shift)}); });
            break;
        case DataFile::Enbun: {
            std::map<QString, std::optional<LogRecord>> batch;
            for (const LogRecord& day : v.log) {
                if (day.LogDate.isEmpty()) continue;
                FieldClocks::Clock clock = clocks_.day(day.LogDate);
                if (clock.stamp < clocks_.logDeleted()) clock.stamp = clocks_.logDeleted();
                // A day a line names is the lines' to decide (no history of a
                // million days' values is kept): a file brings new days only.
                take(
                    clock, DayIn(diary_, day.LogDate) != day, clock.stamp.millis > 0,
                    [&] { batch[day.LogDate] = day; },
                    [&](const Stamp& s) {
                        return entry(s, OpDay, day.LogDate, {day.DaySalt, day.PressureLow, day.PressureHigh});
                    });
                if (batch.count(day.LogDate)) clocks_.setDay(day.LogDate, clock);
            }
            DiaryBooks(diary_).ApplyDays(batch);
            break;
        }
    }
    if (taken > 0 && !from.isEmpty()) takenIn_ << from;
    return taken;
}

// ---- This machine's changes ----

void ChangeJournal::stampDay(const QString& date, const Stamp& stamp) {
    const std::optional<LogRecord> day = DayIn(diary_, date);
    clocks_.setDay(date, {stamp, false});
    pending_.push_back(day ? entry(stamp, OpDay, date, {day->DaySalt, day->PressureLow, day->PressureHigh})
                           : entry(stamp, OpDayGone, date, {}));
}

void ChangeJournal::StampChanges() {
    if (!DiaryBooks(diary_).HasUnjournaled()) return;
    const Diary::Unjournaled u = DiaryBooks(diary_).TakeUnjournaled();
    if (u.logDeleted) {
        const Stamp s = hlc_.tick();
        clocks_.logDeleted() = s;
        pending_.push_back(entry(s, OpLogGone, {}, {}));
        allDaysAt_.reset();
    }
    if (u.allDays && diary_.LogCount() > 0) {
        const Stamp s = hlc_.tick();
        allDaysAt_ = s;
        for (const LogRecord& day : diary_.DailyLog()) clocks_.setDay(day.LogDate, {s, false});
    }
    for (const QString& date : u.days) stampDay(date, hlc_.tick());
    auto stampItem = [&](int slot) {
        const Stamp s = hlc_.tick();
        clocks_.item(slot) = {s, false};
        const ItemRecord& r = diary_.ItemTable()[static_cast<size_t>(slot)];
        pending_.push_back(
            entry(s, OpItem, QString::number(slot), {r.Checked, r.ItemName, r.Sodium, r.ItemSalt}));
    };
    if (u.allItems)
        for (int slot = 0; slot < StoredItemCount; ++slot) stampItem(slot);
    else
        for (int slot : u.items)
            if (slot < StoredItemCount) stampItem(slot);
    for (int row : u.seasonings) {
        const Stamp s = hlc_.tick();
        clocks_.seasoning(row) = {s, false};
        const SeasoningRecord& r = diary_.SeasoningTable()[static_cast<size_t>(row)];
        pending_.push_back(entry(s, OpSeasoning, QString::number(row), {r.SeasoningName, r.UnitSalt}));
    }
    if (u.target) {
        const Stamp s = hlc_.tick();
        clocks_.target() = {s, false};
        pending_.push_back(entry(s, OpTarget, {}, {diary_.SaltTarget()}));
    }
    if (u.shift) {
        const Stamp s = hlc_.tick();
        clocks_.shift() = {s, false};
        pending_.push_back(entry(s, OpShift, {}, {QString::number(diary_.PressureBarShift())}));
    }
}

bool ChangeJournal::Flush() {
    StampChanges();
    // What this machine has seen of the others, so that a change of theirs
    // that replaces one of ours is told here only when they had not seen it.
    for (auto it = folded_.cbegin(); it != folded_.cend(); ++it) {
        if (it.key() == me_.node || toldSeen_.value(it.key()) == it.value()) continue;
        pending_.push_back(entry(hlc_.tick(), OpSeen, QString::fromLatin1(it.key()),
                                 {QString::fromLatin1(it.value().text())}));
    }
    if (pending_.empty() && !allDaysAt_) return true;
    JournalWriter writer(ops_, folder_, me_.node, me_.name);
    if (allDaysAt_) {
        std::vector<JournalEntry> part;
        part.reserve(DaysPerAppend);
        for (const LogRecord& day : diary_.DailyLog()) {
            part.push_back(
                entry(*allDaysAt_, OpDay, day.LogDate, {day.DaySalt, day.PressureLow, day.PressureHigh}));
            if (part.size() == DaysPerAppend) {
                if (!writer.append(part)) return false;
                part.clear();
            }
        }
        if (!part.empty() && !writer.append(part)) return false;
        allDaysAt_.reset();
    }
    if (!pending_.empty() && !writer.append(pending_)) return false;
    pending_.clear();
    toldSeen_ = folded_;
    return true;
}

QString ChangeJournal::TakeNotice() {
    QStringList parts;
    if (!lost_.empty()) {
        QStringList lines;
        QString host;
        for (const Told& t : lost_) {
            host = hosts_.value(t.host.toLatin1(), t.host);
            if (lines.size() < 10)
                lines << QStringLiteral("・%1: 「%2」→「%3」").arg(t.record, t.ours, t.theirs);
        }
        if (lost_.size() > 10) lines << QStringLiteral("ほか %1 件").arg(lost_.size() - 10);
        parts << QStringLiteral(
                     "ほかのコンピューター (%1) で同じころに変えた内容があり、あとで変えたほうを残しました。"
                     "このコンピューターで変えた次の内容は、向こうの内容になりました。\n%2")
                     .arg(host.isEmpty() ? QStringLiteral("名前不明") : host, lines.join(u'\n'));
        lost_.clear();
    }
    if (!takenIn_.isEmpty()) {
        takenIn_.removeDuplicates();
        parts
            << QStringLiteral(
                   "%1 "
                   "に、変更の記録にない内容がありました。ほかのプログラムで変えたものとして取り込みました。")
                   .arg(takenIn_.join(QStringLiteral("、")));
        takenIn_.clear();
    }
    return parts.join(QStringLiteral("\n\n"));
}

}  // namespace morv
