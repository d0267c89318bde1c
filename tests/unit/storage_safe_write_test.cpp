#include "storage/DataFiles.h"
#include "storage/SafeWrite.h"

#include "storage_test_support.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace morv {
namespace {

using test::Entries;
using test::FakeFileOps;
using test::ReadBytes;
using test::WriteBytes;

const QByteArray Absent = "<absent>";

LogList SomeDays(int count, const QString& salt) {
    LogList log;
    for (int i = 0; i < count; ++i)
        log.push_back({QStringLiteral("2024/%1/%2")
                           .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                           .arg(1 + i % 28, 2, 10, QLatin1Char('0')),
                       salt, "80", "125"});
    return log;
}

// ---- The protocol on a healthy file system ----

TEST(SafeFile, WritesAndReplacesWithoutLeftovers) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    SafeFile file(SystemFileOps(), folder, "Moku");
    EXPECT_EQ(file.txtPath(), folder + "Moku.txt");
    EXPECT_EQ(file.bakPath(), folder + "Moku.bak");

    for (const QByteArray& bytes : {QByteArray("first\r\n"), QByteArray(""), QByteArray(200000, 'x')}) {
        ASSERT_TRUE(file.write(bytes));
        EXPECT_EQ(ReadBytes(file.txtPath()), bytes);
        EXPECT_EQ(Entries(folder), QStringList{"Moku.txt"});
        QByteArray back;
        ASSERT_TRUE(file.readAll(back));
        EXPECT_EQ(back, bytes);
    }
}

TEST(SafeFile, RestoreInterruptedPutsTheBackupBackAndSweepsTemporaries) {
    const struct {
        const char* name;
        QByteArray txt, bak, txtTmp, bakTmp;
        QByteArray expected;
    } cases[] = {
        {"truncated file and backup", "par", "good", Absent, Absent, "good"},
        {"backup only", Absent, "good", Absent, Absent, "good"},
        {"new file and backup", "new", "good", Absent, Absent, "good"},
        {"unfinished new file", "good", Absent, "ne", Absent, "good"},
        {"unfinished backup", "good", Absent, Absent, "go", "good"},
        {"everything at once", "new", "good", "n", "g", "good"},
        {"clean", "good", Absent, Absent, Absent, "good"},
        {"nothing", Absent, Absent, Absent, Absent, Absent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        const std::pair<const char*, const QByteArray&> files[] = {
            {"Atu.txt", c.txt}, {"Atu.bak", c.bak}, {"Atu.txt.tmp", c.txtTmp}, {"Atu.bak.tmp", c.bakTmp}};
        for (const auto& [name, bytes] : files)
            if (bytes != Absent) WriteBytes(folder + name, bytes);
        SafeFile(SystemFileOps(), folder, "Atu").restoreInterrupted();
        EXPECT_EQ(ReadBytes(folder + "Atu.txt"), c.expected);
        EXPECT_EQ(Entries(folder), c.expected == Absent ? QStringList{} : QStringList{"Atu.txt"});
    }
}

TEST(SafeFile, LeftoverBackupCountsAsThePreviousFile) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    FakeFileOps ops;
    SafeFile file(ops, folder, "Enbun");

    // A failed write after an interrupted one must not bring back the
    // half-written file. The backup is marked as this machine's, this boot's.
    const auto ours = [&] {
        WriteBytes(folder + "Enbun.bak.info",
                   "morvaline-backup 1\nmachine " + ThisMachineId() + "\nboot " + ThisBootId() + "\n");
    };
    WriteBytes(folder + "Enbun.txt", "par");
    WriteBytes(folder + "Enbun.bak", "good");
    ours();
    ops.reset(6);  // after settling and reading the previous file: creating the backup
    EXPECT_FALSE(file.write("new"));
    EXPECT_EQ(ops.trace.value(5), "open");
    EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), "good");
    EXPECT_EQ(Entries(folder), QStringList{"Enbun.txt"});

    WriteBytes(folder + "Enbun.bak", "good2");
    ours();
    ops.reset(0);
    EXPECT_TRUE(file.write("new"));
    EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), "new");
    EXPECT_EQ(Entries(folder), QStringList{"Enbun.txt"});
}

TEST(SafeFile, NeverWritesThroughAPlantedLink) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    WriteBytes(folder + "victim", "untouched");
    ASSERT_EQ(::symlink(qPrintable(folder + "victim"), qPrintable(folder + "Atu.txt.tmp")), 0);
    SafeFile file(SystemFileOps(), folder, "Atu");
    file.write("3000\r\n");
    EXPECT_EQ(ReadBytes(folder + "victim"), "untouched");
    EXPECT_TRUE(file.write("3000\r\n"));  // the stray link was cleared
    EXPECT_EQ(ReadBytes(folder + "Atu.txt"), "3000\r\n");
}

TEST(SafeFile, BackupByLinkOrCopyAndSameBytesLeftAlone) {
    // Where the file system refuses hard links the backup is a copy; every
    // failing step still keeps the previous file.
    struct NoLinks : FakeFileOps {
        int link(const QByteArray&, const QByteArray&) override {
            errno = EPERM;
            return -1;
        }
    };
    for (const bool links : {true, false}) {
        SCOPED_TRACE(links ? "links" : "no links");
        QTemporaryDir dir(test::ScratchTemplate());
        const QString folder = dir.path() + "/";
        NoLinks refusing;
        FakeFileOps linking;
        FakeFileOps& ops = links ? linking : refusing;
        SafeFile file(ops, folder, "Enbun");
        WriteBytes(folder + "Enbun.txt", "old");
        ops.reset(0);
        ASSERT_TRUE(file.write("new"));
        const int steps = ops.calls;
        for (int k = 1; k <= steps; ++k) {
            WriteBytes(folder + "Enbun.txt", "old");
            ops.reset(k);
            EXPECT_FALSE(file.write("new")) << k;
            EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), "old") << k;
            EXPECT_EQ(Entries(folder), QStringList{"Enbun.txt"}) << k;
        }
        struct stat before, after;
        ASSERT_EQ(::stat(qPrintable(folder + "Enbun.txt"), &before), 0);
        ops.reset(0);
        ASSERT_TRUE(file.write("old"));
        ASSERT_EQ(::stat(qPrintable(folder + "Enbun.txt"), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_FALSE(ops.trace.contains("rename"));
    }
}

// A save stopped right after linking its backup leaves both names on one
// file; renaming one over the other would do nothing and keep both.
TEST(SafeFile, BackupLinkedToTheFileIsSettled) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    WriteBytes(folder + "Atu.txt", "3000\r\n");
    ASSERT_EQ(::link(qPrintable(folder + "Atu.txt"), qPrintable(folder + "Atu.bak")), 0);
    SafeFile(SystemFileOps(), folder, "Atu").restoreInterrupted();
    EXPECT_EQ(Entries(folder), QStringList{"Atu.txt"});
    ASSERT_EQ(::link(qPrintable(folder + "Atu.txt"), qPrintable(folder + "Atu.bak")), 0);
    EXPECT_TRUE(SafeFile(SystemFileOps(), folder, "Atu").write("2500\r\n"));
    EXPECT_EQ(ReadBytes(folder + "Atu.txt"), "2500\r\n");
    EXPECT_EQ(Entries(folder), QStringList{"Atu.txt"});
}

// The owner's missing write bit is a wish the rename would silently override.
TEST(SafeFile, AFileItsOwnerMadeReadOnlyIsNotReplaced) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0750), 0);
    const QString moku = folder + "Moku.txt";
    WriteBytes(moku, "7\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(moku).constData(), 0444), 0);
    QStringList messages;
    DataFiles files(
        folder, [&](const QString& m) { messages << m; }, [] { return QDateTime(); });
    EXPECT_EQ(files.MokuFileWrite("8"), 1);
    EXPECT_EQ(messages, QStringList{StorageErrorText});
    EXPECT_EQ(ReadBytes(moku), "7\r\n");
    EXPECT_EQ(Entries(folder), QStringList{"Moku.txt"});
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(moku).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    ASSERT_EQ(::stat(QFile::encodeName(dir.path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0750u) << "the folder's mode is the user's";
    EXPECT_EQ(files.MokuFileWrite("7"), 0) << "what the file holds needs no write";
}

// ---- Every single failing step ----

struct FaultVariant {
    const char* name;
    FakeFileOps::WriteFault mode;
    int error;
};

const FaultVariant Variants[] = {
    {"EIO", FakeFileOps::WriteFault::Error, EIO},
    {"ENOSPC", FakeFileOps::WriteFault::Error, ENOSPC},
    {"short write then ENOSPC", FakeFileOps::WriteFault::ShortThenError, EIO},
    {"write without progress", FakeFileOps::WriteFault::NoProgress, EIO},
};

TEST(FaultInjection, EveryFailingStepKeepsThePreviousFile) {
    const LogList newLog = SomeDays(3000, "7.5");  // several write calls' worth
    const QByteArray previousBytes = "\"2024/01/01\",\"6\",\"\",\"\"\r\n";
    int sweeps = 0;
    for (const bool hadPrevious : {true, false}) {
        QTemporaryDir dir(test::ScratchTemplate());
        const QString folder = dir.path() + "/";
        const QString txt = folder + "Enbun.txt";
        const QByteArray previous = hadPrevious ? previousBytes : Absent;
        auto setUp = [&] {
            for (const QString& name : Entries(folder)) QFile::remove(folder + name);
            if (hadPrevious) WriteBytes(txt, previous);
        };
        FakeFileOps ops;
        QStringList messages;
        DataFiles files(
            folder, [&](const QString& m) { messages << m; }, [] { return QDateTime(); }, ops);

        setUp();
        ops.reset(0);
        ASSERT_EQ(files.EnbunFileWrite(newLog), 0);
        const int steps = ops.calls;
        const QByteArray newBytes = ReadBytes(txt);
        for (const char* op : {"open", "write", "fsync", "close", "rename"})
            EXPECT_TRUE(ops.trace.contains(op)) << op;
        if (hadPrevious) {
            EXPECT_TRUE(ops.trace.contains("read") && ops.trace.contains("unlink"));
        }

        for (const FaultVariant& v : Variants) {
            ops.mode = v.mode;
            ops.error = v.error;
            for (int k = 1; k <= steps; ++k) {
                SCOPED_TRACE(testing::Message()
                             << (hadPrevious ? "over a file, " : "new file, ") << v.name << ", step " << k);
                setUp();
                messages.clear();
                ops.reset(k);
                EXPECT_EQ(files.EnbunFileWrite(newLog), 1) << ops.trace.value(k - 1).toStdString();
                EXPECT_EQ(messages, QStringList{StorageErrorText});
                EXPECT_EQ(ReadBytes(txt), previous);
                EXPECT_EQ(Entries(folder), hadPrevious ? QStringList{"Enbun.txt"} : QStringList{});
                EXPECT_TRUE(ops.openFds.empty());
                ++sweeps;
            }
        }
        // The same folder still takes a good write.
        ops.reset(0);
        messages.clear();
        ASSERT_EQ(files.EnbunFileWrite(newLog), 0);
        EXPECT_EQ(ReadBytes(txt), newBytes);
    }
    RecordProperty("failed_steps_checked", sweeps);
}

TEST(FaultInjection, InterruptedCallsAreRetried) {
    QTemporaryDir dir(test::ScratchTemplate());
    const QString folder = dir.path() + "/";
    WriteBytes(folder + "Enbun.txt", "old");
    FakeFileOps ops;
    ops.interruptReadsAndWrites = true;
    DataFiles files(
        folder, [](const QString&) { ADD_FAILURE(); }, [] { return QDateTime(); }, ops);
    const LogList log = SomeDays(100, "7");
    ASSERT_EQ(files.EnbunFileWrite(log), 0);
    LogList back;
    ASSERT_EQ(files.EnbunFileRead(back), 0);
    EXPECT_EQ(back, log);
    EXPECT_EQ(Entries(folder), QStringList{"Enbun.txt"});
}

// A failing read must never pass for an empty file, and whatever happens the
// bytes of the item table survive somewhere.
TEST(FaultInjection, FailingReadStepsNeverLoseTheFile) {
    const QByteArray file = "\"1\",\"a\",\"\",\"1\"\r\n";
    for (int k = 1; k <= 4; ++k) {
        SCOPED_TRACE(k);
        QTemporaryDir dir(test::ScratchTemplate());
        const QString folder = dir.path() + "/";
        WriteBytes(folder + "Kiroku.txt", file);
        FakeFileOps ops;
        QStringList messages;
        DataFiles files(
            folder, [&](const QString& m) { messages << m; },
            [] { return QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)); }, ops);
        ops.reset(k);
        ItemList items = NewItemTable();
        const int status = files.KirokuFileRead(items);
        const QString failed = ops.trace.value(k - 1);
        if (status == 0) {
            EXPECT_EQ(failed, "close");  // the bytes were all in
            EXPECT_EQ(items[0].ItemName, "a");
        } else {
            EXPECT_EQ(messages, QStringList{StorageErrorText});
            EXPECT_EQ(ReadBytes(files.lastSalvagedCopy()), file) << failed.toStdString();
        }
    }
}

// ---- A real full disk ----

TEST(FaultFullDisk, FailedSaveKeepsThePreviousFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k,mode=0700") != 0)
        GTEST_SKIP() << "cannot mount tmpfs: " << std::strerror(errno);
    struct Unmount {
        QByteArray at;
        ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
    } unmount{mountPoint};

    const QString folder = dir.path() + "/";
    QStringList messages;
    DataFiles files(
        folder, [&](const QString& m) { messages << m; }, [] { return QDateTime(); });
    ASSERT_EQ(files.EnbunFileWrite(SomeDays(50, "6")), 0);
    const QByteArray previous = ReadBytes(folder + "Enbun.txt");

    const QByteArray filler = QFile::encodeName(folder + "filler");
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    const QByteArray block(4096, 'f');
    while (::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    while (::write(fd, block.constData(), 1) > 0) {
    }
    ::close(fd);

    const LogList bigger = SomeDays(1000, "7.25");
    EXPECT_EQ(files.EnbunFileWrite(bigger), 1);
    EXPECT_EQ(messages, QStringList{StorageErrorText});
    EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), previous);
    EXPECT_EQ(Entries(folder), (QStringList{"Enbun.txt", "filler"}));

    ::unlink(filler.constData());
    ASSERT_EQ(files.EnbunFileWrite(bigger), 0);
    LogList back;
    ASSERT_EQ(files.EnbunFileRead(back), 0);
    EXPECT_EQ(back, bigger);
}

// ---- Killed in the middle of a save ----

TEST(CrashDuringSave, FileIsAlwaysExactlyOldOrNew) {
    QTemporaryDir dir(test::ScratchTemplate());
    const QString folder = dir.path() + "/";
    const QString txt = folder + "Enbun.txt";
    const QByteArray oldBytes = QByteArray("old record\r\n").repeated(2000);
    const QByteArray newBytes = QByteArray("new record, longer\r\n").repeated(3000);
    SafeFile file(SystemFileOps(), folder, "Enbun");

    using Clock = std::chrono::steady_clock;
    using Micros = std::chrono::microseconds;
    // Kills are spread over the time a save takes, so that most land
    // somewhere inside it: the median of a few saves here, then adjusted while
    // the trials run, as a forked child on a busy machine may be slower or
    // faster than this process.
    std::vector<long> runs;
    for (int i = 0; i < 9; ++i) {
        WriteBytes(txt, oldBytes);
        const auto begin = Clock::now();
        ASSERT_TRUE(file.write(newBytes));
        runs.push_back(long(std::chrono::duration_cast<Micros>(Clock::now() - begin).count()));
    }
    std::sort(runs.begin(), runs.end());
    const long saveMicros = std::max(1L, runs[runs.size() / 2]);
    long maxDelay = saveMicros * 5 / 4 + 1;

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    constexpr int Trials = 300;
    constexpr int Window = 25;
    int sawOld = 0, sawNew = 0, sawLeftovers = 0, finished = 0, windowFinished = 0;
    const auto start = Clock::now();
    for (int trial = 0; trial < Trials; ++trial) {
        SCOPED_TRACE(testing::Message() << "trial " << trial << ", seed " << seed);
        WriteBytes(txt, oldBytes);
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            const char go = 1;
            if (::write(ready[1], &go, 1) != 1) ::_exit(2);
            ::_exit(file.write(newBytes) ? 0 : 1);
        }
        ::close(ready[1]);
        char go = 0;
        ASSERT_EQ(::read(ready[0], &go, 1), 1);
        ::close(ready[0]);
        std::this_thread::sleep_for(Micros(std::uniform_int_distribution<long>(0, maxDelay)(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (WIFEXITED(status)) {
            ASSERT_EQ(WEXITSTATUS(status), 0);
            ++finished;
            ++windowFinished;
        }
        if ((trial + 1) % Window == 0) {
            if (windowFinished > Window / 2)
                maxDelay = std::max(1L, maxDelay * 2 / 3);
            else if (windowFinished == 0)
                maxDelay = maxDelay * 3 / 2 + 1;
            windowFinished = 0;
        }

        if (Entries(folder) != QStringList{"Enbun.txt"}) ++sawLeftovers;
        // Both ways back in: the store's own step and the program's start-up.
        if (trial % 2 == 0) {
            file.restoreInterrupted();
        } else {
            DataFiles(
                folder, [](const QString&) {}, [] { return QDateTime(); })
                .Prepare();
            QFile::remove(folder + "Kiroku.txt");
        }
        const QByteArray now = ReadBytes(txt);
        ASSERT_TRUE(now == oldBytes || now == newBytes) << now.left(40).toStdString();
        (now == oldBytes ? sawOld : sawNew)++;
        // A new file already in place when the old one came back is kept.
        for (const QString& kept : QDir(folder).entryList({"Enbun.unreadable-*"})) {
            ASSERT_EQ(ReadBytes(folder + kept), newBytes);
            QFile::remove(folder + kept);
        }
        ASSERT_EQ(Entries(folder), QStringList{"Enbun.txt"});
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    RecordProperty("trials", Trials);
    RecordProperty("save_us", int(saveMicros));
    RecordProperty("last_max_delay_us", int(maxDelay));
    RecordProperty("elapsed_ms", int(elapsed.count()));
    RecordProperty("old", sawOld);
    RecordProperty("new", sawNew);
    RecordProperty("interrupted", sawLeftovers);
    RecordProperty("finished", finished);
    std::printf(
        "[          ] %d kills within 0..%ld us of a %ld us save, in %lld ms: %d old, %d new, "
        "%d left files to clean up, %d saves finished first\n",
        Trials, maxDelay, saveMicros, static_cast<long long>(elapsed.count()), sawOld, sawNew, sawLeftovers,
        finished);
    // The delays must actually hit the save, or the test proves nothing.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
    EXPECT_GT(sawLeftovers, 0);
}

// The finished temporary file, killed before it has a name: where the file
// system has unnamed files nothing is left; elsewhere the named one is (and
// the data files sweep theirs at the next start).
TEST(CrashDuringSave, AKillBeforeTheNewFileIsInPlaceLeavesNoTemporaryFile) {
    struct DiesBeforeNaming : FakeFileOps {
        bool unnamed = true;
        QByteArray target;
        int open(const QByteArray& path, int flags, mode_t mode) override {
            if (!unnamed && (flags & O_TMPFILE) == O_TMPFILE) {
                errno = EOPNOTSUPP;
                return -1;
            }
            return FakeFileOps::open(path, flags, mode);
        }
        int linkOpenFile(int fd, const QByteArray& to) override {
            ::raise(SIGKILL);
            return FakeFileOps::linkOpenFile(fd, to);
        }
        int rename(const QByteArray& from, const QByteArray& to) override {
            if (to == target) ::raise(SIGKILL);
            return FakeFileOps::rename(from, to);
        }
    };
    const struct {
        bool dataFile, unnamed;
        QStringList left;
    } cases[] = {
        {false, true, {"out.TXT"}},
        {false, false, {"out.TXT", "out.TXT.1.tmp"}},
        {true, true, {"Enbun.bak", "Enbun.txt"}},
        {true, false, {"Enbun.bak", "Enbun.bak.info", "Enbun.txt", "Enbun.txt.tmp"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.dataFile ? "data file" : "export") << (c.unnamed ? ", unnamed" : ", named"));
        QTemporaryDir dir(test::ScratchTemplate());
        const QString folder = dir.path() + "/";
        const QString path = folder + (c.dataFile ? "Enbun.txt" : "out.TXT");
        if (c.unnamed) {
            const int probe = ::open(QFile::encodeName(folder).constData(), O_TMPFILE | O_WRONLY, 0600);
            if (probe < 0) GTEST_SKIP() << "no unnamed files here";
            ::close(probe);
        }
        WriteBytes(path, "old");
        DiesBeforeNaming ops;
        ops.unnamed = c.unnamed;
        ops.target = QFile::encodeName(path);
        SafeFile data(ops, folder, "Enbun");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            ::_exit((c.dataFile ? data.write("new") : ReplaceFileDurably(ops, path, "new")) ? 0 : 1);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save ran past the point of the kill";
        EXPECT_EQ(Entries(folder), c.left);
        EXPECT_EQ(ReadBytes(path), "old");
        if (c.dataFile) {
            data.restoreInterrupted();
        } else {
            // The next export sweeps what the killed one left.
            ASSERT_TRUE(ReplaceFileDurably(SystemFileOps(), path, "newer"));
            EXPECT_EQ(ReadBytes(path), "newer");
        }
        EXPECT_EQ(Entries(folder), QStringList{QFileInfo(path).fileName()});
    }
}

}  // namespace
}  // namespace morv
