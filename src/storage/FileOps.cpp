#include "storage/FileOps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace morv {
namespace {

class PosixFileOps final : public FileOps {
public:
    int open(const QByteArray& path, int flags, mode_t mode) override {
        return ::open(path.constData(), flags, mode);
    }
    ssize_t read(int fd, void* buffer, size_t size) override { return ::read(fd, buffer, size); }
    ssize_t write(int fd, const void* buffer, size_t size) override { return ::write(fd, buffer, size); }
    int fsync(int fd) override { return ::fsync(fd); }
    int close(int fd) override { return ::close(fd); }
    int rename(const QByteArray& from, const QByteArray& to) override {
        return ::rename(from.constData(), to.constData());
    }
    int unlink(const QByteArray& path) override { return ::unlink(path.constData()); }
    bool exists(const QByteArray& path) override {
        // lstat: a dangling symlink is still a name that is in the way.
        struct stat st;
        return ::lstat(path.constData(), &st) == 0;
    }
};

}  // namespace

int FileOps::link(const QByteArray& from, const QByteArray& to) { return ::link(from.constData(), to.constData()); }
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
