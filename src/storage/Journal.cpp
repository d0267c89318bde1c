#include "storage/Journal.h"

#include "storage/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStringDecoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace morv {
namespace {

constexpr QByteArrayView Magic = "morvaline-journal";
constexpr QByteArrayView Version = "1";
constexpr qsizetype MaxOp = 32;
constexpr qsizetype Chunk = qsizetype(1) << 20;
constexpr qsizetype TailBytes = 64;
// Ends a part of a line left by a failed or cut-short append: 0xFF is in no
// UTF-8 text, so the part it ends is malformed whatever came before it.
constexpr QByteArrayView Seal = "\xff\n";

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

void AppendEscaped(QByteArray& out, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
}

// Strict: a replacement character would silently stand for what was there.
bool DecodeUtf8(QByteArrayView bytes, QString& out) {
    // Most fields (dates, numbers) are ASCII, and need no decoder.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; })) {
        out = QString::fromLatin1(bytes);
        return true;
    }
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    out = decoder.decode(bytes);
    return !decoder.hasError();
}

bool Unescape(QByteArrayView field, QString& out, QByteArray& scratch) {
    if (std::none_of(field.begin(), field.end(), [](char c) { return c == '\\' || c == '\r' || c == '\n'; }))
        return DecodeUtf8(field, out);
    scratch.clear();
    for (qsizetype i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c == '\r' || c == '\n') return false;
        if (c == '\\') {
            if (++i == field.size()) return false;
            switch (field[i]) {
                case '\\':
                    c = '\\';
                    break;
                case 't':
                    c = '\t';
                    break;
                case 'n':
                    c = '\n';
                    break;
                case 'r':
                    c = '\r';
                    break;
                default:
                    return false;
            }
        }
        scratch += c;
    }
    return DecodeUtf8(scratch, out);
}

// The next tab-separated part of `line` from `at`; `at` moves past it and
// its tab, or to -1 after the last part.
QByteArrayView NextPart(QByteArrayView line, qsizetype& at) {
    const qsizetype tab = line.indexOf('\t', at);
    const qsizetype end = tab < 0 ? line.size() : tab;
    const QByteArrayView part = line.sliced(at, end - at);
    at = tab < 0 ? -1 : tab + 1;
    return part;
}

// What a journal line needs beyond its own bytes: the node every line of the
// file names, and the ops met so far, so that lines share their bytes.
struct Shared {
    QByteArray node;
    std::vector<QByteArray>* ops = nullptr;
    QByteArray scratch;
};

QByteArray Interned(QByteArrayView op, std::vector<QByteArray>* ops) {
    if (!ops) return op.toByteArray();
    for (const QByteArray& known : *ops)
        if (QByteArrayView(known) == op) return known;
    if (ops->size() >= 64) return op.toByteArray();
    ops->push_back(op.toByteArray());
    return ops->back();
}

bool Decode(QByteArrayView line, JournalEntry& entry, Shared& shared) {
    qsizetype at = 0;
    auto stamp = Stamp::parse(NextPart(line, at), shared.node);
    if (!stamp || at < 0) return false;
    entry.stamp = std::move(*stamp);
    const QByteArrayView op = NextPart(line, at);
    if (!IsJournalOp(op) || at < 0) return false;
    entry.op = Interned(op, shared.ops);
    if (!Unescape(NextPart(line, at), entry.key, shared.scratch)) return false;
    entry.fields.clear();
    if (at >= 0) entry.fields.reserve(line.sliced(at).count('\t') + 1);
    while (at >= 0) {
        QString field;
        if (!Unescape(NextPart(line, at), field, shared.scratch)) return false;
        entry.fields.push_back(std::move(field));
    }
    return true;
}

bool WriteAll(FileOps& ops, int fd, QByteArrayView bytes) {
    const char* p = bytes.data();
    size_t left = size_t(bytes.size());
    while (left > 0) {
        const ssize_t n = ops.write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || size_t(n) > left) {
            if (n >= 0) errno = EIO;  // no progress: a full device may answer so
            return false;
        }
        p += n;
        left -= size_t(n);
    }
    return true;
}

ssize_t ReadAt(int fd, char* buffer, size_t size, qint64 offset) {
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, size, off_t(offset));
        if (n >= 0 || errno != EINTR) return n;
    }
}

QByteArray BytesAt(int fd, qint64 offset, qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    const ssize_t n = ReadAt(fd, bytes.data(), size_t(size), offset);
    bytes.resize(n < 0 ? 0 : qsizetype(n));
    return bytes;
}

QString ErrorText(int error) { return qt_error_string(error); }

}  // namespace

QString JournalFolder(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral("journal"));
}

QString JournalPath(const QString& journalFolder, const QByteArray& node) {
    return journalFolder + QLatin1Char('/') + QString::fromLatin1(node) + QLatin1String(".journal");
}

bool IsJournalOp(QByteArrayView op) {
    return op.size() >= 1 && op.size() <= MaxOp && std::all_of(op.begin(), op.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-';
           });
}

QByteArray EncodeEntry(const JournalEntry& entry) {
    if (!IsJournalOp(entry.op) || !IsStampNode(entry.stamp.node)) return {};
    QByteArray line = entry.stamp.text();
    line += '\t';
    line += entry.op;
    line += '\t';
    AppendEscaped(line, entry.key);
    for (const QString& field : entry.fields) {
        line += '\t';
        AppendEscaped(line, field);
    }
    return line;
}

std::optional<JournalEntry> DecodeEntry(QByteArrayView line) {
    JournalEntry entry;
    Shared shared;
    if (!Decode(line, entry, shared)) return std::nullopt;
    return entry;
}

QStringList JournalFiles(const QString& journalFolder) {
    QDir dir(journalFolder);
    dir.setNameFilters({QStringLiteral("*.journal")});
    dir.setFilter(QDir::Files | QDir::System | QDir::CaseSensitive);
    dir.setSorting(QDir::Name);
    QStringList paths;
    for (const QString& name : dir.entryList()) paths << dir.filePath(name);
    return paths;
}

// ---- Reading ----

namespace {

// Whose journal this is, from its first line; why it is refused otherwise.
QString TakeHeader(const QString& path, QByteArrayView line, JournalRead& result) {
    qsizetype at = 0;
    const QByteArrayView magic = NextPart(line, at);
    const QByteArrayView version = at < 0 ? QByteArrayView() : NextPart(line, at);
    const QByteArrayView node = at < 0 ? QByteArrayView() : NextPart(line, at);
    const QByteArrayView host = at < 0 ? QByteArrayView() : NextPart(line, at);
    if (magic != Magic || version.isEmpty()) return QStringLiteral("変更の記録ではありません");
    if (version != Version)
        return QStringLiteral("新しい版のプログラムの記録です (版 %1)")
            .arg(QString::fromUtf8(version.first(std::min<qsizetype>(version.size(), 16))));
    // The name begins with the node: "<node>.journal", or a sync program's
    // copy of it ("<node>.sync-conflict-....journal", "<node> (...).journal").
    const QString name = QFileInfo(path).fileName();
    const qsizetype hex =
        std::find_if_not(name.begin(), name.end(),
                         [](QChar c) { return c.unicode() < 128 && IsHexDigit(char(c.unicode())); }) -
        name.begin();
    if (!IsStampNode(node) || name.left(hex) != QLatin1String(node.data(), node.size()))
        return QStringLiteral("ファイル名と別のマシンの記録です");
    result.node = node.toByteArray();
    QByteArray scratch;
    if (!Unescape(host, result.hostName, scratch)) result.hostName.clear();
    return {};
}

}  // namespace

JournalRead JournalReader::read(const QString& path) {
    std::vector<JournalEntry> entries;
    JournalRead result =
        read(path, [&entries](JournalEntry&& entry) { entries.push_back(std::move(entry)); });
    if (result.status == JournalRead::Status::Read) result.entries = std::move(entries);
    return result;
}

JournalRead JournalReader::read(const QString& path, const Sink& sink) {
    JournalRead result;
    const auto refuse = [&](JournalRead::Status status, const QString& why) {
        result.status = status;
        result.reason = why;
        return result;
    };
    const QByteArray name = QFile::encodeName(path);
    // A FIFO or a device is not even opened: opening some has effects of
    // their own, and a FIFO would wait for a writer.
    struct stat st;
    if (::stat(name.constData(), &st) != 0) {
        if (errno == ENOENT) return refuse(JournalRead::Status::Missing, {});
        return refuse(JournalRead::Status::Failed, ErrorText(errno));
    }
    if (!S_ISREG(st.st_mode))
        return refuse(JournalRead::Status::Refused, QStringLiteral("通常のファイルではありません"));
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return refuse(JournalRead::Status::Failed, ErrorText(errno));
    const auto closer = qScopeGuard([fd] { ::close(fd); });
    // From the open file itself: the name may have been replaced meanwhile.
    if (::fstat(fd, &st) != 0) return refuse(JournalRead::Status::Failed, ErrorText(errno));
    if (!S_ISREG(st.st_mode))
        return refuse(JournalRead::Status::Refused, QStringLiteral("通常のファイルではありません"));
    if (st.st_size > ceiling_)
        return refuse(JournalRead::Status::Refused,
                      QStringLiteral("大きすぎます (%1 バイト)").arg(qint64(st.st_size)));

    const auto known = seen_.constFind(path);
    const bool same = known != seen_.cend() && known->device == quint64(st.st_dev) &&
                      known->inode == quint64(st.st_ino) && st.st_size >= known->offset &&
                      BytesAt(fd, known->offset - known->tail.size(), known->tail.size()) == known->tail;
    qint64 from = 0;
    if (same && known->offset > 0) {
        from = known->offset;
        result.node = known->node;
        result.hostName = known->hostName;
    }
    result.restarted = known != seen_.cend() && !same;

    Shared shared{result.node, &ops_, {}};
    // As large as what is new, up to a chunk: a read of a few new lines
    // takes a few pages.
    QByteArray buffer(qsizetype(std::clamp<qint64>(st.st_size - from, 4096, Chunk)), Qt::Uninitialized);
    qint64 start = from;  // the file's offset of the buffer's first byte, always a line's start
    qsizetype held = 0;   // bytes in the buffer: no line ends in them
    JournalEntry entry;
    for (;;) {
        if (held == buffer.size()) buffer.resize(buffer.size() * 2);  // a line longer than a chunk
        const qint64 room = std::min<qint64>(buffer.size() - held, ceiling_ - (start + held));
        if (room <= 0) break;
        const ssize_t n = ReadAt(fd, buffer.data() + held, size_t(room), start + held);
        if (n < 0) return refuse(JournalRead::Status::Failed, ErrorText(errno));
        if (n == 0) break;
        const char* begin = buffer.constData();
        qsizetype at = 0, look = held;
        held += n;
        while (const char* nl =
                   static_cast<const char*>(std::memchr(begin + look, '\n', size_t(held - look)))) {
            const QByteArrayView line(begin + at, nl - (begin + at));
            if (start + at == 0) {
                if (QString why = TakeHeader(path, line, result); !why.isEmpty())
                    return refuse(JournalRead::Status::Refused, why);
                shared.node = result.node;
            } else if (Decode(line, entry, shared) && entry.stamp.node == result.node) {
                sink(std::move(entry));
            } else {
                ++result.skipped;
            }
            at = look = nl - begin + 1;
        }
        // The start of a line not ended yet moves to the front.
        std::memmove(buffer.data(), begin + at, size_t(held - at));
        start += at;
        held -= at;
    }
    result.endOffset = start;
    seen_[path] = {
        quint64(st.st_dev),
        quint64(st.st_ino),
        start,
        BytesAt(fd, start - std::min<qint64>(start, TailBytes), std::min<qint64>(start, TailBytes)),
        result.node,
        result.hostName};
    return result;
}

// ---- Writing ----

JournalWriter::JournalWriter(FileOps& ops, const QString& journalFolder, const QByteArray& node,
                             const QString& hostName)
    : ops_(ops), folder_(journalFolder), path_(JournalPath(journalFolder, node)), node_(node) {
    prefix_ = Magic.toByteArray() + '\t' + Version.toByteArray() + '\t' + node + '\t';
    header_ = prefix_;
    AppendEscaped(header_, hostName);
    header_ += '\n';
}

bool JournalWriter::fail(const QString& why) {
    error_ = why;
    return false;
}

bool JournalWriter::encode(const std::vector<JournalEntry>& entries, QByteArray& lines) {
    for (const JournalEntry& entry : entries) {
        const QByteArray line = EncodeEntry(entry);
        if (line.isEmpty() || entry.stamp.node != node_)
            return fail(QStringLiteral("書けない変更です: %1").arg(QString::fromUtf8(entry.op.left(MaxOp))));
        lines += line;
        lines += '\n';
    }
    return true;
}

bool JournalWriter::makeFolder() {
    const QByteArray name = QFile::encodeName(folder_);
    if (::mkdir(name.constData(), 0700) == 0) {
        // Best effort: the folder's name made durable in the data folder.
        const int parent = ::open(QFile::encodeName(QFileInfo(folder_).path()).constData(),
                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (parent >= 0) {
            ::fsync(parent);
            ::close(parent);
        }
        return true;
    }
    struct stat st;
    if (errno == EEXIST && ::stat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
    return fail(QStringLiteral("%1: %2").arg(folder_, ErrorText(errno == EEXIST ? ENOTDIR : errno)));
}

bool JournalWriter::append(const std::vector<JournalEntry>& entries) {
    error_.clear();
    if (entries.empty()) return true;
    QByteArray lines;
    if (!encode(entries, lines) || !makeFolder()) return false;
    const QByteArray name = QFile::encodeName(path_);
    // Made with its header whole, so that no header is ever cut short.
    if (!ops_.exists(name) && !CreateFileDurably(ops_, path_, header_, 0600) && errno != EEXIST)
        return fail(ErrorText(errno));
    const int fd = ops_.open(name, O_RDWR | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0);
    if (fd < 0) return fail(ErrorText(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ops_.close(fd);
        return fail(QStringLiteral("%1: 通常のファイルではありません").arg(path_));
    }
    const qint64 size = st.st_size;
    QByteArray bytes;
    if (size == 0) {
        bytes = header_;
    } else {
        // The host name may have changed since the header was written.
        if (BytesAt(fd, 0, prefix_.size()) != prefix_) {
            ops_.close(fd);
            return fail(QStringLiteral("%1: このマシンの記録ではありません").arg(path_));
        }
        if (BytesAt(fd, size - 1, 1) != "\n") bytes = Seal.toByteArray();
    }
    bytes += lines;
    if (!WriteAll(ops_, fd, bytes) || ops_.fsync(fd) != 0) {
        const int error = errno;
        if (::ftruncate(fd, off_t(size)) == 0) ::fsync(fd);
        ops_.close(fd);
        return fail(ErrorText(error));
    }
    // The lines are whole and durable by now: an append repeated after a
    // failed close only repeats them, which changes nothing in a fold.
    if (ops_.close(fd) != 0) return fail(ErrorText(errno));
    return true;
}

bool JournalWriter::rewrite(const std::vector<JournalEntry>& entries) {
    error_.clear();
    QByteArray bytes = header_;
    if (!encode(entries, bytes) || !makeFolder()) return false;
    if (!ReplaceFileDurably(ops_, path_, bytes)) return fail(ErrorText(errno));
    return true;
}

// ---- Compaction ----

std::vector<JournalEntry> Compact(const std::vector<JournalEntry>& entries,
                                  const std::function<CompactKey(const JournalEntry&)>& keyOf) {
    std::vector<CompactKey> keys;
    keys.reserve(entries.size());
    QHash<QString, size_t> newest;       // field -> the line that sets it last
    QHash<QString, const Stamp*> clear;  // table -> its newest deletion
    for (size_t i = 0; i < entries.size(); ++i) {
        keys.push_back(keyOf(entries[i]));
        const CompactKey& key = keys.back();
        const Stamp& stamp = entries[i].stamp;
        if (!key.field.isEmpty()) {
            auto it = newest.find(key.field);
            if (it == newest.end())
                newest.insert(key.field, i);
            else if (entries[*it].stamp <= stamp)
                *it = i;
        }
        if (key.clearsTable) {
            const Stamp*& deleted = clear[key.table];
            if (!deleted || *deleted < stamp) deleted = &stamp;
        }
    }
    std::vector<JournalEntry> kept;
    for (size_t i = 0; i < entries.size(); ++i) {
        const CompactKey& key = keys[i];
        if (!key.field.isEmpty() && newest.value(key.field) != i) continue;
        if (!key.table.isEmpty()) {
            const Stamp* deleted = clear.value(key.table);
            if (deleted && entries[i].stamp < *deleted) continue;
        }
        kept.push_back(entries[i]);
    }
    return kept;
}

}  // namespace morv
