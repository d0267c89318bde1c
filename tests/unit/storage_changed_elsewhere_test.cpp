// A data file that another program (a sync program) replaces while this copy
// has it read: the check costs one stat, and no save ever writes over it, not
// even when the change lands in the middle of the save.

#include "storage/DataFiles.h"
#include "storage_test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <functional>

namespace morv {
namespace {

using test::Entries;
using test::ReadBytes;
using test::WriteBytes;

// The real calls, counted; `onTmpOpen` runs when a save opens its new file.
class WatchingOps final : public PosixFileOps {
public:
    int opens = 0, reads = 0, stats = 0;
    std::function<void()> onTmpOpen;

    int open(const QByteArray& path, int flags, mode_t mode) override {
        ++opens;
        const bool unnamed = (flags & O_TMPFILE) == O_TMPFILE;
        if ((path.endsWith(".txt.tmp") || unnamed) && onTmpOpen) std::exchange(onTmpOpen, {})();
        return PosixFileOps::open(path, flags, mode);
    }
    ssize_t read(int fd, void* b, size_t n) override { return ++reads, PosixFileOps::read(fd, b, n); }
    int stat(const QByteArray& p, struct stat* st) override { return ++stats, FileOps::stat(p, st); }
};

// How a sync program puts another machine's file in place.
void ReplaceByRename(const QString& path, const QByteArray& bytes) {
    WriteBytes(path + ".syncthing.tmp", bytes);
    ASSERT_EQ(::rename(qPrintable(path + ".syncthing.tmp"), qPrintable(path)), 0);
}

TEST(ChangedElsewhere, NoSaveWritesOverAnotherMachinesFile) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    const QString enbun = folder + "Enbun.txt";
    const QByteArray ours = "\"2024/01/01\",\"5\",\"\",\"\"\r\n";
    const QByteArray theirs = ours + "\"2024/01/02\",\"6\",\"\",\"\"\r\n";
    WatchingOps ops;
    QStringList messages;
    DataFiles files(
        folder, [&](const QString& m) { messages << m; },
        [] { return QDateTime(QDate(2024, 1, 5), QTime(9, 30)); }, ops);
    WriteBytes(enbun, ours);
    LogList log;
    ASSERT_EQ(files.EnbunFileRead(log), 0);

    // Nothing changed: one stat per file, nothing opened or read.
    ops.opens = ops.reads = ops.stats = 0;
    EXPECT_FALSE(files.ChangedOnDisk("Enbun"));
    EXPECT_EQ(ops.stats, 1);
    EXPECT_EQ(ops.opens + ops.reads, 0);
    log.push_back({"2024/01/03", "7", {}, {}});
    ASSERT_EQ(files.EnbunFileWrite(log), 0);
    EXPECT_FALSE(files.ChangedOnDisk("Enbun")) << "our own save is the version we know";

    // Replaced before the save: refused at once, without a message.
    ReplaceByRename(enbun, theirs);
    EXPECT_TRUE(files.ChangedOnDisk("Enbun"));
    ops.opens = 0;
    EXPECT_EQ(files.EnbunFileWrite(log), DataFiles::ChangedElsewhere);
    EXPECT_EQ(ops.opens, 0) << "someone else's file is not even read";
    EXPECT_EQ(ReadBytes(enbun), theirs);
    EXPECT_TRUE(messages.isEmpty());

    // Replaced while the save runs, after its first look: the last look,
    // right before the rename, still refuses, and leaves no backup behind.
    ASSERT_EQ(files.EnbunFileRead(log), 0);
    log.push_back({"2024/01/04", "8", {}, {}});
    const QByteArray third = theirs + "\"2024/01/05\",\"9\",\"\",\"\"\r\n";
    ops.onTmpOpen = [&] { ReplaceByRename(enbun, third); };
    EXPECT_EQ(files.EnbunFileWrite(log), DataFiles::ChangedElsewhere);
    EXPECT_EQ(ReadBytes(enbun), third);
    EXPECT_EQ(Entries(folder), QStringList{"Enbun.txt"});

    // Read again, it is ours to write; the version that lost a merge is kept.
    ASSERT_EQ(files.EnbunFileRead(log), 0);
    EXPECT_EQ(files.EnbunFileWrite(log), 0);
    EXPECT_EQ(files.KeepConflictCopy("Enbun", theirs), folder + "Enbun.conflict-20240105-093000.txt");
    EXPECT_EQ(files.KeepConflictCopy("Enbun", ours), folder + "Enbun.conflict-20240105-093000-2.txt");
    EXPECT_EQ(ReadBytes(folder + "Enbun.conflict-20240105-093000.txt"), theirs);
}

}  // namespace
}  // namespace morv
