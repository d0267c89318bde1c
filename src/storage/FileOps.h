#pragma once
// The handful of file-system calls the storage makes, behind one interface so
// that tests can make any single step fail (a short write, a full disk, a
// failed rename) and check that nothing is lost. Paths are local 8-bit paths.

#include <sys/types.h>
#include <QByteArray>

struct stat;

namespace morv {

class FileOps {
public:
    virtual ~FileOps() = default;
    // POSIX semantics: -1 with errno on failure.
    virtual int open(const QByteArray& path, int flags, mode_t mode) = 0;
    virtual ssize_t read(int fd, void* buffer, size_t size) = 0;
    virtual ssize_t write(int fd, const void* buffer, size_t size) = 0;
    virtual int fsync(int fd) = 0;
    virtual int close(int fd) = 0;
    virtual int rename(const QByteArray& from, const QByteArray& to) = 0;
    virtual int unlink(const QByteArray& path) = 0;
    virtual bool exists(const QByteArray& path) = 0;
    // A second name for a file; file systems without hard links refuse it.
    virtual int link(const QByteArray& from, const QByteArray& to);
    // Following links, as the file a data file's name stands for is what counts.
    virtual int stat(const QByteArray& path, struct stat* st);
    // The first name of a file opened with O_TMPFILE; EEXIST when `to` is
    // taken (a name is never replaced this way).
    virtual int linkOpenFile(int fd, const QByteArray& to);
};

// The real calls; a test or a bench that counts some of them derives from it.
class PosixFileOps : public FileOps {
public:
    int open(const QByteArray& path, int flags, mode_t mode) override;
    ssize_t read(int fd, void* buffer, size_t size) override;
    ssize_t write(int fd, const void* buffer, size_t size) override;
    int fsync(int fd) override;
    int close(int fd) override;
    int rename(const QByteArray& from, const QByteArray& to) override;
    int unlink(const QByteArray& path) override;
    bool exists(const QByteArray& path) override;
};

FileOps& SystemFileOps();

}  // namespace morv
