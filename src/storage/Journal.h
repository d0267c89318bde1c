#pragma once
// One machine's change journal: every change made on a machine is a line in
// a file of its own, `journal/<node>.journal` in the data folder, which only
// that machine writes. A sync program carries the file to the other machines
// and never has two versions of it to reconcile; the diary is the fold of all
// journals, the newest stamp winning per field.
//
// The file is UTF-8 text. Its first line is the header
//     morvaline-journal <TAB> 1 <TAB> <node> <TAB> <host name>
// and each further line one change, ended by "\n":
//     <stamp text> <TAB> <op> <TAB> <key> [<TAB> <field>]...
// The op is a short ASCII word; what it means is the caller's. Key, fields
// and the host name are escaped so that a backslash, tab, LF and CR survive
// ("\\", "\t", "\n", "\r"). Every line's stamp names the file's node.

#include "storage/FileOps.h"
#include "storage/Stamp.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace morv {

struct JournalEntry {
    Stamp stamp;
    QByteArray op;  // 1 to 32 of [A-Za-z0-9_-]
    QString key;
    QStringList fields;
    bool operator==(const JournalEntry&) const = default;
};

// `dataFolder`/journal, where every machine's journal lies.
QString JournalFolder(const QString& dataFolder);
// The journal of `node` in `journalFolder`.
QString JournalPath(const QString& journalFolder, const QByteArray& node);

bool IsJournalOp(QByteArrayView op);

// The line of `entry`, without its "\n"; empty when the entry cannot be
// written (an op that is not a short word, a stamp whose node is not hex).
QByteArray EncodeEntry(const JournalEntry& entry);
// The entry a line (without its "\n") holds, or nothing when it is not
// exactly such a line: a malformed stamp or op, an unknown escape, a raw CR or LF,
// bytes that are not UTF-8.
std::optional<JournalEntry> DecodeEntry(QByteArrayView line);

// Every journal in the folder, sorted by name: the `<node>.journal` files and
// the copies sync programs make of them on a conflict, which are named
// otherwise but end in ".journal" as well (x.sync-conflict-....journal,
// "x (conflicted copy ...).journal"). They are read like any journal (the
// header says whose it is); the lines they repeat change nothing in a fold
// where the newest stamp wins. Hidden files (a sync program's temporary
// files) are left out.
QStringList JournalFiles(const QString& journalFolder);

struct JournalRead {
    enum class Status {
        Read,     // the lines below are what the file holds beyond the last read
        Missing,  // no file at the path
        Refused,  // the file is not read at all; `reason` says why
        Failed,   // it could not be read now; `reason` says why
    };
    Status status = Status::Read;
    QString reason;
    QByteArray node;  // from the header; empty while the header is incomplete
    QString hostName;
    std::vector<JournalEntry> entries;  // empty when a sink took them
    qint64 endOffset = 0;               // the file has been taken in up to here
    int skipped = 0;                    // malformed lines passed over
    bool restarted = false;             // the file was replaced: read again from its start
};

// Reads journals a bit at a time: it remembers for each path the file it
// read (device and inode, and the last bytes it took) and how far, so that the
// next read of the path takes only the lines appended since. A file replaced
// meanwhile (compacted, a sync program's new copy, written over in place, or
// cut shorter) is read again from its start, and the read says so.
//
// A line is taken only once complete: a last line without its "\n" (a write
// cut short, a partial copy) is left for a later read. Malformed lines, and
// lines stamped by another node than the header's, are skipped and counted.
// Refused whole, without a line of it parsed: a file that is not a regular
// file (nor a link to one), a file over the ceiling, a file whose header is
// not a journal's, and a file whose name does not begin with the header's
// node. Opening never blocks.
class JournalReader {
public:
    static constexpr qint64 DefaultCeiling = qint64(256) << 20;
    using Sink = std::function<void(JournalEntry&&)>;

    // The new lines of `path`, collected in `entries`.
    JournalRead read(const QString& path);
    // The same, each line given to `sink` as it is decoded: a fold that
    // takes in a large journal need not hold all its lines at once.
    JournalRead read(const QString& path, const Sink& sink);
    // The next read of `path` takes it from its start.
    void forget(const QString& path) { seen_.remove(path); }
    void setCeiling(qint64 bytes) { ceiling_ = bytes; }

private:
    struct Seen {
        quint64 device = 0, inode = 0;
        qint64 offset = 0;
        QByteArray tail;  // the bytes right before `offset`
        QByteArray node;
        QString hostName;
    };
    QHash<QString, Seen> seen_;
    std::vector<QByteArray> ops_;  // each op's bytes once, shared by its lines
    qint64 ceiling_ = DefaultCeiling;
};

// Writes this machine's journal.
class JournalWriter {
public:
    JournalWriter(FileOps& ops, const QString& journalFolder, const QByteArray& node,
                  const QString& hostName);

    QString path() const { return path_; }

    // Appends the lines of `entries`, with one write where the system allows,
    // and fsyncs them. The folder (0700) and the file with its header are
    // made when missing. The file is not read again: only its size, header
    // and last byte are looked at. false when anything failed, or an entry
    // cannot be written or is not stamped by this node. A write or fsync that
    // failed is cut back to the previous size (after a failed close the lines
    // are whole and fsynced, and stay). Should even the cut fail, or a crash
    // have left part of a line, the next append first ends that part with an
    // invalid byte and a "\n", so the part can never read as a line nor glue
    // onto the next one.
    bool append(const std::vector<JournalEntry>& entries);
    // Replaces the journal by a header and `entries`, atomically (a temporary
    // file in the folder, fsynced, renamed over it, the folder fsynced): the
    // compaction. Also the way out when append finds a file whose header is
    // not this machine's.
    bool rewrite(const std::vector<JournalEntry>& entries);
    // Why the last append or rewrite failed.
    const QString& error() const { return error_; }

private:
    bool encode(const std::vector<JournalEntry>& entries, QByteArray& lines);
    bool makeFolder();
    bool fail(const QString& why);

    FileOps& ops_;
    QString folder_, path_;
    QByteArray node_, prefix_, header_;  // the header up to its host name, and whole
    QString error_;
};

// What a journal line sets, as the caller's ops mean it.
struct CompactKey {
    // Lines with the same field replace each other: only the newest stays.
    // An empty field is no field: the line stays (unless its table is cleared).
    QString field;
    // The table the field belongs to (say "log" for a day's lines), or empty.
    QString table;
    // A whole-table deletion (say the log deleted): every line of `table`
    // older than it is superseded by it. Its own `field` is its kind's, so
    // that only the newest such deletion stays.
    bool clearsTable = false;
};

// The journal `entries` without the lines that no longer decide anything: a
// line older than another line of its field, or older than a deletion of its
// table. Deletions stay until superseded in the same way, however old: a
// machine that was offline for a year still learns of them. Of lines with
// equal stamps and field the last one stays. The lines kept keep their order.
std::vector<JournalEntry> Compact(const std::vector<JournalEntry>& entries,
                                  const std::function<CompactKey(const JournalEntry&)>& keyOf);

}  // namespace morv
