#pragma once
// The backup protocol of the data files, made durable and atomic.
//
// What a reader of the folder may rely on: while a write of X.txt is in
// progress, X.bak holds the last good version, and a leftover X.bak means a
// write was interrupted and is put back over X.txt by RestoreInterrupted.
//
// How it is done: X.txt is copied to X.bak.tmp, fsynced and renamed to X.bak
// (so X.bak is never partial); the new content goes to X.txt.tmp, is fsynced
// and renamed over X.txt; the folder is fsynced; only then is X.bak deleted.
// Every short write, write error, fsync, close or rename error fails the write,
// and a failed write puts the previous file back.

#include "storage/FileOps.h"

#include <QByteArray>
#include <QString>

namespace morv {

class SafeFile {
public:
    // folder ends in "/"; stem is "Kiroku", "Enbun", ...
    SafeFile(FileOps& ops, const QString& folder, const QString& stem);

    QString txtPath() const;
    QString bakPath() const;

    // true when `bytes` is now X.txt; false when the write failed and the
    // previous X.txt (or its absence) is back.
    bool write(const QByteArray& bytes);

    // A leftover X.bak replaces X.txt; stray temporary files are removed.
    // Errors are ignored.
    void restoreInterrupted();

    // The whole of X.txt, or nothing when it cannot be read.
    bool readAll(QByteArray& bytes);

    bool exists();

private:
    bool copyDurably(const QByteArray& from, const QByteArray& to);
    bool writeDurably(const QByteArray& path, const QByteArray& bytes);
    bool writeAll(int fd, const QByteArray& bytes);
    void syncFolder();
    bool syncFolderChecked();

    FileOps& ops_;
    QByteArray folder_, txt_, bak_, txtTmp_, bakTmp_;
};

}  // namespace morv
