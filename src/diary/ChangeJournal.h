#pragma once
// The diary as the fold of every machine's change journal. Each machine
// writes its own changes, and only its own, as lines in a file of its own
// (journal/<machine>.journal in the data folder); no two machines ever write
// one file, so a sync program never has two versions of one to choose from.
// Every record takes the value of the line with the greatest stamp (a hybrid
// logical clock: wall time, a counter, the machine), whatever order the
// lines arrive in. Only a line deletes: a data file that is missing, away
// for a moment, cut short, older or emptied takes nothing away. A data file's
// record that no line explains (a hand edit, an older version of the
// program, a sync program's copy) is taken in as a change of this machine,
// at the file's own time. When a line from another machine replaces a value
// this machine wrote before that machine had seen it, this machine says so,
// once; the machine whose value stays says nothing.

#include "diary/DataKinds.h"
#include "diary/Diary.h"
#include "diary/FieldClocks.h"
#include "storage/Journal.h"
#include "storage/MachineId.h"
#include "storage/Stamp.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace morv {

class FileOps;

class ChangeJournal {
public:
    // This machine's journal is rewritten to the newest line per record at
    // the start when it holds more than twice the lines it needs, and this
    // many more: a few superseded lines are not worth a rewrite.
    static constexpr qint64 CompactAboveLines = 2000;

    ChangeJournal(Diary& diary, const QString& dataFolder, Machine me, FileOps& ops,
                  std::function<qint64()> nowMillis);

    QString folder() const { return folder_; }
    const Machine& machine() const { return me_; }

    // The start: the diary holds what the data files gave, each read file's
    // records at that file's time (nullopt: no file was read). Every journal
    // is folded over them, and then what no line explains is taken in.
    void Start(const std::array<std::optional<qint64>, DataFileCount>& fileMillis);
    // The lines other machines appended since the last look, folded in.
    void ReadOthers();
    // A version of a data file found on disk (the file changed under the
    // program, a sync program's copy of it) at `millis`: its records that no
    // line explains and that are newer than what the diary holds go in, as
    // changes of this machine. An empty record is no change (a file cut short
    // or emptied deletes nothing). How many records went in.
    // `from`: the copy's name, told when anything went in; empty: nothing is told.
    int Absorb(DataFile file, const FileVersion& version, qint64 millis, const QString& from = {});
    // Whether `version` holds a record the diary lacks or holds otherwise:
    // the file is then written again from the diary.
    bool Differs(DataFile file, const FileVersion& version) const;
    // The changes made here, stamped now; they win over any line folded after.
    void StampChanges();
    // Everything stamped, written to this machine's journal, durably: before
    // the data files, at the autosave and the close. false: it stays for the
    // next try.
    bool Flush();
    // What the user must hear (values that another machine's changes
    // replaced, records taken in from a file), once; empty when nothing.
    QString TakeNotice();

private:
    struct Told {
        QString record;
        QString ours;
        QString theirs;
        QString host;  // the machine's node, named by its host name when told
    };
    void foldFile(const QString& path, bool atStart);
    void fold(const JournalEntry& entry, const QString& host);
    // One record's line against its clock: applied when newer. Tells when it
    // replaces a value of this machine's that `from` had not seen.
    // `describe` names the record and both values, only when it is told.
    template <class Describe, class Apply>
    void foldRecord(FieldClocks::Clock& clock, const JournalEntry& entry, const QString& host, bool same,
                    Describe&& describe, Apply&& apply);
    void foldDays(const std::vector<JournalEntry>& days, const QString& host);
    Stamp takenStamp(qint64 millis, const Stamp& over);
    void takeInFromFiles();
    // This machine's journal rewritten to the lines that still decide
    // something, when most of its lines no longer do.
    void compactOwn();
    JournalEntry entry(const Stamp& stamp, const char* op, const QString& key, QStringList fields);
    qint64 fileTime(DataFile file) const;
    void stampDay(const QString& date, const Stamp& stamp);

    Diary& diary_;
    QString folder_;
    Machine me_;
    FileOps& ops_;
    Hlc hlc_;
    FieldClocks clocks_;
    JournalReader reader_;
    std::vector<JournalEntry> pending_;
    // Every day of the log at one stamp, written at the flush in parts:
    // a million lines are not held as entries.
    std::optional<Stamp> allDaysAt_;
    // Per other machine: its host name, the newest stamp of its lines folded
    // here, and the newest stamp of this machine's it had seen (its "seen" lines).
    QHash<QByteArray, QString> hosts_;
    QHash<QByteArray, Stamp> folded_;
    QHash<QByteArray, Stamp> seenMe_;
    QHash<QByteArray, Stamp> toldSeen_;
    std::vector<Told> lost_;
    QStringList takenIn_;
    bool anyJournal_ = false;
    // Each data file's time as read at the start.
    std::array<std::optional<qint64>, DataFileCount> fileMillis_{};
    // Every value a line has set each small record to ("item/3" → hashes):
    // a file that holds one of them holds an old value, not a new edit.
    QHash<QString, QSet<size_t>> history_;
    void remember(const JournalEntry& e);
    bool known(const QByteArray& op, const QString& key, const QStringList& fields) const;
    qint64 ownLines_ = 0;  // lines of this machine's journal read at the start
};

}  // namespace morv
