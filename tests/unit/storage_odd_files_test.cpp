// Files the program did not write itself: hand-edited text, FIFOs and folders
// under a data file's name, a data file that is a link, a folder that vanished.

#include "storage/DataFiles.h"
#include "text/Cp932.h"

#include "storage_test_support.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <functional>
#include <thread>

namespace morv {
namespace {

using test::Entries;
using test::ReadBytes;
using test::WriteBytes;

const QDateTime Now(QDate(2025, 3, 5), QTime(14, 7, 9));

class OddFilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = dir.path() + QLatin1Char('/');
    QStringList messages;
    DataFiles files{folder, [this](const QString& m) { messages << m; }, [] { return Now; }};

    QString path(const QString& name) const { return folder + name; }
    void clear() {
        for (const QString& name : Entries(folder)) {
            QFileInfo(path(name)).isDir() ? (void)QDir(path(name)).removeRecursively()
                                          : (void)QFile::remove(path(name));
        }
        messages.clear();
    }
    // Reads every file as start-up does, then saves as the close does.
    void readAllThenSave() {
        ItemList items = NewItemTable();
        SeasoningList rows;
        LogList log;
        QString target;
        qint32 shift = 0;
        files.Prepare();
        files.KirokuFileRead(items);
        files.ChomiFileRead(rows);
        files.MokuFileRead(target);
        files.EnbunFileRead(log);
        files.AtuFileRead(shift);
        read = {items, rows, log, target, shift};
        files.KirokuFileWrite(items);
        files.ChomiFileWrite(rows);
        files.MokuFileWrite(target);
        if (!log.empty()) files.EnbunFileWrite(log);
        files.AtuFileWrite(shift);
    }
    struct Read {
        ItemList items;
        SeasoningList rows;
        LogList log;
        QString target;
        qint32 shift;
    } read;
};

TEST_F(OddFilesTest, WhatIsNotReadExactlyIsKeptBeforeTheSave) {
    const QByteArray good = "\"1\",\"a\",\"\",\"1.5\"\r\n";
    const struct {
        const char* name;
        QString file;
        QByteArray bytes;
        bool kept;
        std::function<bool(const Read&)> asRead;
    } cases[] = {
        {"a missing quote shifts the seasonings", "Chomi.txt", "\"a\",\"1\"\r\n\"b,\"2\"\r\n\"c\",\"3\"\r\n",
         true, [](const Read& r) { return r.rows[1].SeasoningName == "b,"; }},
        {"a stray quote inside a record", "Kiroku.txt", "\"1\",\"x\",\"\",\"7\"3\"\r\n", true,
         [](const Read& r) { return r.items[0].ItemSalt == "7"; }},
        {"a byte-order mark", "Kiroku.txt", "\xEF\xBB\xBF" + good, true,
         [](const Read& r) { return r.items[0].Checked != "1"; }},
        {"random bytes", "Enbun.txt", "\x8F\xFF\x01,\x85\"\r\n", true, [](const Read&) { return true; }},
        {"five fields on a line", "Enbun.txt", "\"2025/01/01\",\"5\",\"\",\"\",\"x\"\r\n", true,
         [](const Read&) { return true; }},
        {"more seasonings than rows", "Chomi.txt", QByteArray("\"s\",\"1\"\r\n").repeated(21), true,
         [](const Read& r) { return r.rows[19].SeasoningName == "s"; }},
        {"a second line in the target", "Moku.txt", "7\r\n8\r\n", true,
         [](const Read& r) { return r.target == "7"; }},
        {"letters for the bar shift", "Atu.txt", "abc\r\n", true,
         [](const Read& r) { return r.shift == 3000; }},
        {"blanks around the bar shift", "Atu.txt", " 3400 \r\n", false,
         [](const Read& r) { return r.shift == 3400; }},
        // Read right, but not written back as they stand.
        {"a name under the twin code of its character", "Kiroku.txt", "\"1\",\"\xEE\xEC\",\"\",\"1\"\r\n",
         true, [](const Read& r) { return r.items[0].ItemName == DecodeCp932("\xFC\x4B"); }},
        {"bare CRs and unquoted fields", "Kiroku.txt", "1,a,,1.5\r0,b,,\r", true,
         [](const Read& r) { return r.items[0].ItemSalt == "1.5" && r.items[1].ItemName == "b"; }},
        {"a blank line between seasonings", "Chomi.txt", "\"a\",\"1\"\r\n\r\n\"b\",\"2\"\r\n", true,
         [](const Read& r) { return r.rows[1].SeasoningName == "b"; }},
        {"an ordinary item file", "Kiroku.txt", good, false,
         [](const Read& r) { return r.items[0].ItemSalt == "1.5"; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clear();
        WriteBytes(path(c.file), c.bytes);
        readAllThenSave();
        EXPECT_TRUE(c.asRead(read)) << "the values read are as without a copy";
        const QString stem = c.file.chopped(4);
        const QStringList copies = QDir(folder).entryList({stem + ".unreadable-*"});
        if (!c.kept) {
            EXPECT_TRUE(copies.isEmpty());
            continue;
        }
        ASSERT_EQ(copies, QStringList{stem + ".unreadable-20250305-140709.txt"});
        EXPECT_EQ(ReadBytes(path(copies[0])), c.bytes);
        const auto kept = files.takeKeptCopies();
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(kept[0].file, c.file);
        EXPECT_EQ(kept[0].copy, path(copies[0]));
    }
}

// A byte that is not CP932 is written back as it was, so the file never reads
// exactly; the user is told once, not at every start, while its bytes stay.
TEST_F(OddFilesTest, AFileReadWithChangesIsToldOnceWhileItsBytesStay) {
    const auto start = [&] {
        DataFiles again{folder, [this](const QString& m) { messages << m; }, [] { return Now; }};
        QString target;
        again.MokuFileRead(target);
        again.MokuFileWrite(target);
        return again.takeKeptCopies().size();
    };
    WriteBytes(path("Moku.txt"), "7\x80\r\n");
    EXPECT_EQ(start(), 1u);
    EXPECT_EQ(start(), 0u) << "the same bytes again";
    WriteBytes(path("Moku.txt"), "8\x80\r\n");
    EXPECT_EQ(start(), 1u) << "the bytes changed";
    EXPECT_EQ(QDir(folder).entryList({"Moku.unreadable-*"}).size(), 2);
}

// Runs `work` in a child process and fails if it has not ended within 10 s.
void EndsInTime(const std::function<void()>& work) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        work();
        ::_exit(0);
    }
    for (int i = 0; i < 1000; ++i) {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ADD_FAILURE() << "the read blocked";
}

// A nearly full disk: room for a small data file, none for the copy of a
// long log. The log must not be replaced until its copy exists.
TEST(HeldBack, AFileWhoseCopyCannotBeMadeStaysUntilItCanBe) {
    struct NoRoomForCopies : test::FakeFileOps {
        bool full = true;
        static bool isCopy(const QByteArray& name) { return name.contains(".unreadable-"); }
        int open(const QByteArray& path, int flags, mode_t mode) override {
            if (full && isCopy(path)) {
                errno = ENOSPC;
                return -1;
            }
            return FakeFileOps::open(path, flags, mode);
        }
        int linkOpenFile(int fd, const QByteArray& to) override {
            if (full && isCopy(to)) {
                errno = ENOSPC;
                return -1;
            }
            return FakeFileOps::linkOpenFile(fd, to);
        }
    };
    const QByteArray days = "\"2024/01/01\",\"6\",\"\",\"\"\r\n\"2024/01/02\",\"7\",\"\",\"\"\r\n";
    const struct {
        const char* what;
        QByteArray txt, bak;
        int readStatus;
        qsizetype daysRead;
    } cases[] = {
        {"the last line lost its closing quote", days + "\"2024/01/03\",\"8", {}, 1, 0},
        {"a save stopped with its new file in place", days.left(27), days, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        WriteBytes(folder + "Enbun.txt", c.txt);
        if (!c.bak.isEmpty()) WriteBytes(folder + "Enbun.bak", c.bak);
        NoRoomForCopies ops;
        QStringList messages;
        DataFiles files(
            folder, [&](const QString& m) { messages << m; }, [] { return Now; }, ops);
        files.Prepare();
        LogList log;
        EXPECT_EQ(files.EnbunFileRead(log), c.readStatus);
        EXPECT_EQ(qsizetype(log.size()), c.daysRead);
        EXPECT_EQ(files.heldBack(), QStringList{"Enbun.txt"});
        const auto kept = files.takeKeptCopies();
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_TRUE(kept[0].copy.isEmpty());
        const QStringList before = Entries(folder);

        log.push_back({"2024/01/05", "5", "", ""});
        messages.clear();
        for (int save = 0; save < 2; ++save) {
            EXPECT_EQ(files.EnbunFileWrite(log), 1);
            EXPECT_EQ(files.EnbunFileDelete(), 1);
        }
        EXPECT_EQ(messages, QStringList(4, StorageErrorText)) << "every write of it fails, reported";
        EXPECT_EQ(files.AtuFileWrite(3000), 0) << "the other files are saved";
        QFile::remove(folder + "Atu.txt");
        EXPECT_EQ(Entries(folder), before);
        EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), c.txt);

        ops.full = false;
        ASSERT_EQ(files.EnbunFileWrite(log), 0);
        EXPECT_TRUE(files.heldBack().isEmpty());
        const QStringList copies = QDir(folder).entryList({"Enbun.unreadable-*"});
        ASSERT_EQ(copies.size(), 1);
        EXPECT_EQ(ReadBytes(folder + copies[0]), c.txt);
        EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), EnbunBytes(log));
        EXPECT_FALSE(QFile::exists(folder + "Enbun.bak"));
    }
}

TEST_F(OddFilesTest, NonRegularFilesNeverBlockAndAreSetAside) {
    const QByteArray log = "\"2025/01/01\",\"5\",\"\",\"\"\r\n";
    const struct {
        const char* name;
        const char* odd;  // the name given to a FIFO or a folder
        bool fifo;
        bool goodLog;  // a good Enbun.txt beside it
    } cases[] = {
        {"FIFO as the log", "Enbun.txt", true, false},
        {"FIFO as the log's backup", "Enbun.bak", true, true},
        {"FIFO as the target", "Moku.txt", true, true},
        {"folder as the seasonings", "Chomi.txt", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clear();
        if (c.goodLog) WriteBytes(path("Enbun.txt"), log);
        const QByteArray odd = QFile::encodeName(path(c.odd));
        ASSERT_EQ(c.fifo ? ::mkfifo(odd.constData(), 0600) : ::mkdir(odd.constData(), 0700), 0);
        EndsInTime([&] { readAllThenSave(); });
        readAllThenSave();  // once more in this process, to look at what it kept
        EXPECT_EQ(ReadBytes(path("Enbun.txt")), c.goodLog ? log : QByteArray("<absent>"));
        const QStringList copies =
            QDir(folder).entryList({"*.unreadable-*"}, QDir::AllEntries | QDir::System);
        ASSERT_EQ(copies.size(), 1) << copies.join(' ').toStdString();
        EXPECT_FALSE(QFileInfo(path(copies[0])).isFile()) << "the odd file itself was renamed";
        EXPECT_FALSE(QFileInfo::exists(path("Enbun.bak")));
    }
}

TEST_F(OddFilesTest, LinkedFileIsWrittenThroughTheLinkKeepingItsMode) {
    QTemporaryDir synced;
    const QString real = synced.path() + "/salt.txt";
    WriteBytes(real, "\"2025/01/01\",\"5\",\"\",\"\"\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(real, path("Enbun.txt")));

    LogList log;
    ASSERT_EQ(files.EnbunFileRead(log), 0);
    log.push_back({"2025/01/02", "6", "", ""});
    ASSERT_EQ(files.EnbunFileWrite(log), 0);

    EXPECT_EQ(QFileInfo(path("Enbun.txt")).symLinkTarget(), real);
    EXPECT_EQ(ReadBytes(real), "\"2025/01/01\",\"5\",\"\",\"\"\r\n\"2025/01/02\",\"6\",\"\",\"\"\r\n");
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_EQ(Entries(synced.path()), QStringList{"salt.txt"});
    EXPECT_EQ(Entries(folder), QStringList{"Enbun.txt"});
}

TEST_F(OddFilesTest, AVanishedFolderIsMadeAgainAndUnchangedFilesAreNotRewritten) {
    ASSERT_EQ(files.MokuFileWrite("7"), 0);
    struct stat before, after;
    ASSERT_EQ(::stat(qPrintable(path("Moku.txt")), &before), 0);
    ASSERT_EQ(files.MokuFileWrite("7"), 0);
    ASSERT_EQ(::stat(qPrintable(path("Moku.txt")), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the same bytes are not written again";

    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_EQ(files.MokuFileWrite("7"), 0);
    EXPECT_EQ(ReadBytes(path("Moku.txt")), "7\r\n");
    ASSERT_EQ(::stat(qPrintable(folder), &after), 0);
    EXPECT_EQ(after.st_mode & 0777, 0700u);
    EXPECT_TRUE(messages.isEmpty());
}

// What can stand under a data file's name without being ours to parse, move or
// write: a file too large to read whole, and links to what is no regular file.
// Each must be set aside by renaming its own name, whether it is there at
// start-up or arrives while the window holds a log, with nothing it points to
// touched and the log in memory not to be replaced.
TEST(OddDataFiles, AreRenamedAsideAndNothingOutsideTheFolderIsTouched) {
    const auto sparse = [](const QString& path, const QByteArray& head) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, head.constData(), size_t(head.size())), head.size());
        ASSERT_EQ(::ftruncate(fd, off_t(1) << 30), 0);
        ::close(fd);
    };
    const struct {
        const char* what;
        // Makes `outside` hold what Enbun.txt stands for; its full path.
        std::function<QString(const QString& outside)> make;
        bool link;  // Enbun.txt is a link to what make() returned
        bool tooLarge;
    } cases[] = {
        {"1 GB of line ends",
         [&](const QString& o) {
             sparse(o + "/big", QByteArray("\r\n").repeated(32768));
             return o + "/big";
         },
         false, true},
        {"1 GB of zeros",
         [&](const QString& o) {
             sparse(o + "/big", {});
             return o + "/big";
         },
         false, true},
        {"a link to 1 GB elsewhere",
         [&](const QString& o) {
             sparse(o + "/big", "\n");
             return o + "/big";
         },
         true, true},
        {"a link to a folder",
         [](const QString& o) {
             QDir(o).mkdir("photos");
             WriteBytes(o + "/photos/a.jpg", "jpg");
             return o + "/photos";
         },
         true, false},
        {"a link to a FIFO",
         [](const QString& o) {
             ::mkfifo(QFile::encodeName(o + "/fifo").constData(), 0600);
             return o + "/fifo";
         },
         true, false},
        {"a link to a device", [](const QString&) { return QStringLiteral("/dev/zero"); }, true, false},
    };
    const QByteArray good = "\"2025/01/01\",\"5\",\"\",\"\"\r\n";
    for (const auto& c : cases) {
        for (const bool running : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (running ? ", arriving while running" : ", at start-up"));
            QTemporaryDir data, elsewhere;
            const QString folder = data.path() + "/";
            const QString enbun = folder + "Enbun.txt";
            QStringList messages;
            DataFiles files(
                folder, [&](const QString& m) { messages << m; }, [] { return Now; });
            LogList log;
            if (running) {
                WriteBytes(enbun, good);
                files.Prepare();
                ASSERT_EQ(files.EnbunFileRead(log), 0);
                QFile::remove(enbun);
            }
            const QString target = c.make(elsewhere.path());
            if (c.link) {
                ASSERT_TRUE(QFile::link(target, enbun));
            } else {
                ASSERT_TRUE(QFile::rename(target, enbun));
            }
            const QStringList outside = Entries(elsewhere.path());
            struct stat was;
            ASSERT_EQ(::lstat(QFile::encodeName(c.link ? target : enbun).constData(), &was), 0);
            if (!running) files.Prepare();
            if (running) {
                EXPECT_TRUE(files.ChangedOnDisk("Enbun"));
            }

            LogList read;
            DataFiles::ReadUse use = DataFiles::ReadUse::Replace;
            EXPECT_EQ(files.EnbunFileRead(read, &use), 1);
            EXPECT_EQ(use, DataFiles::ReadUse::Keep) << "the log in memory stays";
            EXPECT_TRUE(read.empty());
            EXPECT_EQ(messages, QStringList{StorageErrorText});
            const auto kept = files.takeKeptCopies();
            ASSERT_EQ(kept.size(), 1u);
            EXPECT_EQ(kept[0].because, DataFiles::KeptBecause::Unreadable);
            EXPECT_EQ(kept[0].tooLarge, c.tooLarge);
            const QString aside = folder + "Enbun.unreadable-20250305-140709.txt";
            EXPECT_EQ(kept[0].copy, aside);
            EXPECT_EQ(QDir(folder).entryList({"Enbun*"}, QDir::AllEntries | QDir::System).join(' '),
                      "Enbun.unreadable-20250305-140709.txt");
            struct stat now;
            ASSERT_EQ(::lstat(QFile::encodeName(aside).constData(), &now), 0);
            if (c.link) {
                EXPECT_EQ(QFileInfo(aside).symLinkTarget(), target) << "the link itself was renamed";
                ASSERT_EQ(::lstat(QFile::encodeName(target).constData(), &now), 0);
            }
            EXPECT_EQ(now.st_ino, was.st_ino) << "renamed, never copied";
            EXPECT_EQ(now.st_mode, was.st_mode);
            EXPECT_EQ(now.st_size, was.st_size);

            log.push_back({"2025/01/02", "6", "", ""});
            ASSERT_EQ(files.EnbunFileWrite(log), 0);
            EXPECT_TRUE(QFileInfo(enbun).isFile() && !QFileInfo(enbun).isSymLink());
            EXPECT_EQ(Entries(elsewhere.path()).join(' '), outside.join(' '))
                << "nothing outside the folder touched";
            EXPECT_EQ(QFileInfo(c.link ? target : aside).size(), was.st_size);
        }
    }
}

}  // namespace
}  // namespace morv
