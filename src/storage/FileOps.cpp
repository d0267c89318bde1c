#include "storage/FileOps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace morv {
int PosixFileOps::open(const QByteArray& path, int flags, mode_t mode) {
    return ::open(path.constData(), flags, mode);
}
ssize_t PosixFileOps::read(int fd, void* buffer, size_t size) { return ::read(fd, buffer, size); }
ssize_t PosixFileOps::write(int fd, const void* buffer, size_t size) { return ::write(fd, buffer, size); }
int PosixFileOps::fsync(int fd) { return ::fsync(fd); }
int PosixFileOps::close(int fd) { return ::close(fd); }
int PosixFileOps::rename(const QByteArray& from, const QByteArray& to) {
    return ::rename(from.constData(), to.constData());
}
int PosixFileOps::unlink(const QByteArray& path) { return ::unlink(path.constData()); }
bool PosixFileOps::exists(const QByteArray& path) {
    // lstat: a dangling symlink is still a name that is in the way.
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

int FileOps::link(const QByteArray& from, const QByteArray& to) {
    return ::link(from.constData(), to.constData());
}
int FileOps::stat(const QByteArray& path, struct stat* st) { return ::stat(path.constData(), st); }

int FileOps::linkOpenFile(int fd, const QByteArray& to) {
    // Through /proc: linking the descriptor itself (AT_EMPTY_PATH) needs a
    // privilege that a user does not have.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, to.constData(), AT_SYMLINK_FOLLOW);
}

FileOps& SystemFileOps() {
    static PosixFileOps ops;
    return ops;
}

}  // namespace morv
