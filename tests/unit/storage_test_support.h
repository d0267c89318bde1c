#pragma once
// Small file helpers and a FileOps that can make any one call fail, shared by
// the storage tests.

#include "storage/FileOps.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <unistd.h>
#include <cerrno>
#include <set>

namespace morv::test {

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot prepare %s", qPrintable(path));
}

// The bytes of a file, or "<absent>" when there is none.
inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArrayLiteral("<absent>");
    return f.readAll();
}

inline QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// A temporary folder in memory when the machine has one. The fault and crash
// tests repeat a save hundreds of times; what they check (every failing step,
// a process killed mid-save) does not depend on the disk, but on a busy disk
// each fsync can take tens of milliseconds.
inline QString ScratchTemplate() {
    const QString shm = QStringLiteral("/dev/shm");
    if (QFileInfo(shm).isDir() && QFileInfo(shm).isWritable())
        return shm + QStringLiteral("/morvaline-test-XXXXXX");
    return QDir::tempPath() + QStringLiteral("/morvaline-test-XXXXXX");
}

// Passes every call to the real file system, except that call number
// `failAt` (counting from 1) fails. How a write fails is chosen by `mode`;
// every other call fails with `error` without doing anything, except close,
// which closes and then reports the error as a real close may.
class FakeFileOps : public FileOps {
public:
    enum class WriteFault { Error, ShortThenError, NoProgress };

    int calls = 0;
    int failAt = 0;
    int error = EIO;
    WriteFault mode = WriteFault::Error;
    bool interruptReadsAndWrites = false;  // every read and write first gets EINTR
    std::set<int> openFds;
    QStringList trace;

    void reset(int fail) {
        calls = 0;
        failAt = fail;
        trace.clear();
        shortPending_ = false;
    }

    int open(const QByteArray& path, int flags, mode_t mode) override {
        if (trip("open")) return fail(-1);
        const int fd = real().open(path, flags, mode);
        if (fd >= 0) openFds.insert(fd);
        return fd;
    }
    ssize_t read(int fd, void* buffer, size_t size) override {
        if (interrupted()) return -1;
        if (trip("read")) return fail(-1);
        return real().read(fd, buffer, size);
    }
    ssize_t write(int fd, const void* buffer, size_t size) override {
        if (interrupted()) return -1;
        if (shortPending_) {
            shortPending_ = false;
            errno = ENOSPC;
            return -1;
        }
        if (trip("write")) {
            switch (mode) {
                case WriteFault::Error:
                    return fail(-1);
                case WriteFault::NoProgress:
                    return 0;
                case WriteFault::ShortThenError:
                    if (size > 1) {
                        shortPending_ = true;
                        return real().write(fd, buffer, size / 2);
                    }
                    return fail(-1);
            }
        }
        return real().write(fd, buffer, size);
    }
    int fsync(int fd) override {
        if (trip("fsync")) return fail(-1);
        return real().fsync(fd);
    }
    int close(int fd) override {
        openFds.erase(fd);
        const int rc = real().close(fd);
        if (trip("close")) return fail(-1);
        return rc;
    }
    int rename(const QByteArray& from, const QByteArray& to) override {
        if (trip("rename")) return fail(-1);
        return real().rename(from, to);
    }
    int unlink(const QByteArray& path) override {
        if (trip("unlink")) return fail(-1);
        return real().unlink(path);
    }
    int linkOpenFile(int fd, const QByteArray& to) override {
        if (trip("link")) return fail(-1);
        return real().linkOpenFile(fd, to);
    }
    // A question, not a step: it is not counted and never fails.
    bool exists(const QByteArray& path) override { return real().exists(path); }

private:
    static FileOps& real() { return SystemFileOps(); }
    bool trip(const char* what) {
        ++calls;
        trace << QString::fromLatin1(what);
        return calls == failAt;
    }
    int fail(int rc) {
        errno = error;
        return rc;
    }
    bool interrupted() {
        if (!interruptReadsAndWrites) return false;
        interruptNext_ = !interruptNext_;
        if (!interruptNext_) return false;
        errno = EINTR;
        return true;
    }
    bool shortPending_ = false;
    bool interruptNext_ = false;
};

}  // namespace morv::test
