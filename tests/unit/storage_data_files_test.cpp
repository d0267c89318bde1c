#include "storage/DataFiles.h"

#include "storage_test_support.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/wait.h>
#include <csignal>
#include <functional>

#include <random>

namespace morv {
namespace {

using test::Entries;
using test::ReadBytes;
using test::WriteBytes;

// CP932 bytes of the Japanese texts used below.
const QByteArray MisoshiruBytes("\x82\xdd\x82\xbb\x8f\x60");
const QByteArray ShokuenBytes("\x90\x48\x89\x96\x28\x8f\xac\x82\xb3\x82\xb6\x29");
const QByteArray HyouBytes("\x95\x5c");  // trail byte is a backslash

const QDateTime Now(QDate(2025, 3, 5), QTime(14, 7, 9));

class DataFilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = dir.path() + QLatin1Char('/');
    QStringList messages;
    DataFiles files{folder, [this](const QString& m) { messages << m; }, [] { return Now; }};

    QString path(const char* name) const { return folder + QLatin1String(name); }
    void put(const char* name, const QByteArray& bytes) { WriteBytes(path(name), bytes); }
    QByteArray bytes(const char* name) const { return ReadBytes(path(name)); }
};

QByteArray Repeat(const QByteArray& line, int times) {
    QByteArray out;
    for (int i = 0; i < times; ++i) out += line;
    return out;
}

TEST_F(DataFilesTest, KirokuIsWrittenByteForByteAndReadBack) {
    ItemList items = NewItemTable();
    items[0] = {"1", "みそ汁", "", "1.5"};
    items[1].ItemName = QString::fromUtf16(u"a\"b\u201Dc\u201Cd");
    items[2].ItemName = "表";
    items[159] = {"1", "last", "100", "0.25"};
    items[160] = {"1", "never stored", "", ""};

    ASSERT_EQ(files.KirokuFileWrite(items), 0);

    // The name keeps a visible replacement for each double quote mark; the
    // left mark is left alone.
    EXPECT_EQ(items[1].ItemName, QString::fromUtf16(u"a'b\u2019c\u201Cd"));
    const QByteArray expected = "\"1\",\"" + MisoshiruBytes + "\",\"\",\"1.5\"\r\n" +
                                "\"0\",\"a'b\x81\x66"
                                "c\x81\x67"
                                "d\",\"\",\"\"\r\n" +
                                "\"0\",\"" + HyouBytes + "\",\"\",\"\"\r\n" +
                                Repeat("\"0\",\"\",\"\",\"\"\r\n", 156) +
                                "\"1\",\"last\",\"100\",\"0.25\"\r\n";
    EXPECT_EQ(bytes("Kiroku.txt"), expected);
    EXPECT_EQ(Entries(folder), QStringList{"Kiroku.txt"});
    struct stat st;
    ASSERT_EQ(::stat(qPrintable(path("Kiroku.txt")), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    ItemList back = NewItemTable();
    ASSERT_EQ(files.KirokuFileRead(back), 0);
    items[160] = {};
    EXPECT_EQ(back, items);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DataFilesTest, ChomiTrimsBlanksOnlyInTheFile) {
    SeasoningList rows;
    rows[0] = {"  食塩(小さじ) ", "6.0"};
    rows[1] = {QString::fromUtf16(u"x\"y\u201Dz"), " 0.5 "};

    ASSERT_EQ(files.ChomiFileWrite(rows), 0);

    EXPECT_EQ(rows[0].SeasoningName, "  食塩(小さじ) ");
    EXPECT_EQ(rows[1].SeasoningName, QString::fromUtf16(u"x'y\u2019z"));
    EXPECT_EQ(bytes("Chomi.txt"), "\"" + ShokuenBytes + "\",\"6.0\"\r\n" + "\"x'y\x81\x66z\",\" 0.5 \"\r\n" +
                                      Repeat("\"\",\"\"\r\n", 18));

    SeasoningList back;
    ASSERT_EQ(files.ChomiFileRead(back), 0);
    EXPECT_EQ(back[0].SeasoningName, "食塩(小さじ)");
    EXPECT_EQ(back[1], rows[1]);
    EXPECT_EQ(back[19], SeasoningRecord{});
}

TEST_F(DataFilesTest, EnbunRoundTripsEmptyFieldsAndLongLogs) {
    LogList log{{"2025/03/04", "6.5", "", ""}, {"2025/03/05", "7", "80", "125"}};
    ASSERT_EQ(files.EnbunFileWrite(log), 0);
    EXPECT_EQ(bytes("Enbun.txt"),
              "\"2025/03/04\",\"6.5\",\"\",\"\"\r\n"
              "\"2025/03/05\",\"7\",\"80\",\"125\"\r\n");
    LogList back{{"stale", "", "", ""}};
    ASSERT_EQ(files.EnbunFileRead(back), 0);
    EXPECT_EQ(back, log);

    // More days than a 16-bit count can index.
    LogList years(40000, LogRecord{"2001/01/01", "8.25", "70", "120"});
    years.back().DaySalt = "9";
    ASSERT_EQ(files.EnbunFileWrite(years), 0);
    ASSERT_EQ(files.EnbunFileRead(back), 0);
    EXPECT_EQ(back, years);

    ASSERT_EQ(files.EnbunFileWrite({}), 0);
    EXPECT_EQ(bytes("Enbun.txt"), "");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DataFilesTest, FieldsOtherThanNamesCannotBreakTheFile) {
    LogList log{{"2025/03/04", "6\"5", "a\",\"b", ""}, {"2025/03/05", "7", "", ""}};
    ASSERT_EQ(files.EnbunFileWrite(log), 0);
    LogList back;
    ASSERT_EQ(files.EnbunFileRead(back), 0);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].DaySalt, "6'5");
    EXPECT_EQ(back[0].PressureLow, "a','b");
    EXPECT_EQ(back[1], log[1]);
}

// Records that mix ASCII with kana, kanji, half-width kana and characters
// whose second byte looks like ASCII (ソ 0x835C, 表 0x955C, 汁 0x8F60, ＋ 0x817B):
// the file holds each character's own code, in order, and reads back the same.
TEST_F(DataFilesTest, MixedTextRoundTripsThroughTheFiles) {
    const QString pieces = QString::fromUtf16(u"A7 .,/\\~_みそ塩分ｱﾝﾞソ表能十予汁Ａ＋－±ー");
    std::mt19937 rng(932);
    auto text = [&] {
        QString t;
        for (int n = std::uniform_int_distribution<int>(0, 8)(rng); n > 0; --n)
            t += pieces[std::uniform_int_distribution<qsizetype>(0, pieces.size() - 1)(rng)];
        return t;
    };
    auto expectedBytes = [](const QString& field) {
        QByteArray b = "\"";
        for (const QChar c : field) b += EncodeCp932(QStringView(&c, 1));
        return b + "\"";
    };
    for (int round = 0; round < 50; ++round) {
        LogList log(20);
        ItemList items = NewItemTable();
        QByteArray expected;
        for (LogRecord& day : log) {
            day = {text(), text(), text(), text()};
            expected += expectedBytes(day.LogDate) + ',' + expectedBytes(day.DaySalt) + ',' +
                        expectedBytes(day.PressureLow) + ',' + expectedBytes(day.PressureHigh) + "\r\n";
        }
        for (int slot = 0; slot < StoredItemCount; ++slot)
            items[size_t(slot)] = {"1", text(), text(), text()};
        ASSERT_EQ(files.EnbunFileWrite(log), 0);
        ASSERT_EQ(files.KirokuFileWrite(items), 0);
        ASSERT_EQ(bytes("Enbun.txt"), expected);
        LogList logBack;
        ItemList itemsBack = NewItemTable();
        ASSERT_EQ(files.EnbunFileRead(logBack), 0);
        ASSERT_EQ(files.KirokuFileRead(itemsBack), 0);
        ASSERT_EQ(logBack, log);
        itemsBack[160] = items[160];
        ASSERT_EQ(itemsBack, items);
    }
    EXPECT_EQ(Entries(folder), (QStringList{"Enbun.txt", "Kiroku.txt"}));
}

TEST_F(DataFilesTest, MokuAndAtuArePlainLines) {
    ASSERT_EQ(files.MokuFileWrite("目標 7.5"), 0);
    EXPECT_EQ(bytes("Moku.txt"), "\x96\xda\x95\x57 7.5\r\n");
    QString target = "old";
    ASSERT_EQ(files.MokuFileRead(target), 0);
    EXPECT_EQ(target, "目標 7.5");

    ASSERT_EQ(files.AtuFileWrite(3400), 0);
    EXPECT_EQ(bytes("Atu.txt"), "3400\r\n");
    ASSERT_EQ(files.AtuFileWrite(-120), 0);
    qint32 shift = 0;
    ASSERT_EQ(files.AtuFileRead(shift), 0);
    EXPECT_EQ(shift, -120);
}

TEST_F(DataFilesTest, MokuReadsTheFirstLineWhole) {
    const struct {
        QByteArray file;
        QString target;
    } cases[] = {
        {"7.5\r\nsecond\r\n", "7.5"}, {"  8 \n", "  8 "}, {"", ""}, {"\r\n", ""}, {"9", "9"},
    };
    for (const auto& c : cases) {
        put("Moku.txt", c.file);
        QString target = "old";
        EXPECT_EQ(files.MokuFileRead(target), 0);
        EXPECT_EQ(target, c.target) << c.file.constData();
    }
}

TEST_F(DataFilesTest, AtuReadsANumberOrFallsBackTo3000) {
    const struct {
        QByteArray file;
        qint32 shift;
    } cases[] = {
        {" 3400", 3400},
        {"3400  \r\n", 3400},
        {"\t-200\r\n99\r\n", -200},
        {"abc\r\n", 3000},
        {"", 3000},
        {"\r\n4000\r\n", 3000},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"2147483647", 2147483647},
        {"2147483647.5", 3000},
        {"-2147483648.5", -2147483647 - 1},
        {"1e3", 3000},
        {"12 34", 3000},
        {"99999999999999999999", 3000},
    };
    for (const auto& c : cases) {
        put("Atu.txt", c.file);
        qint32 shift = 0;
        EXPECT_EQ(files.AtuFileRead(shift), 0);
        EXPECT_EQ(shift, c.shift) << c.file.constData();
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DataFilesTest, MissingFilesAreSilent) {
    ItemList items = NewItemTable();
    items[3].ItemName = "kept";
    LogList log{{"x", "", "", ""}};
    SeasoningList rows;
    rows[0].SeasoningName = "kept";
    QString target = "old";
    qint32 shift = 1;

    EXPECT_EQ(files.KirokuFileRead(items), 1);
    EXPECT_EQ(files.EnbunFileRead(log), 1);
    EXPECT_EQ(files.ChomiFileRead(rows), 0);
    EXPECT_EQ(files.MokuFileRead(target), 0);
    EXPECT_EQ(files.AtuFileRead(shift), 0);

    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(items[3].ItemName, "kept");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(rows[0].SeasoningName, "kept");
    EXPECT_EQ(target, "");
    EXPECT_EQ(shift, 3000);
    EXPECT_TRUE(Entries(folder).isEmpty());
}

TEST_F(DataFilesTest, KirokuFillsSlotsFromTheStart) {
    const QByteArray record = "\"1\",\"n\",\"5\",\"0.5\"\r\n";
    const struct {
        const char* name;
        QByteArray file;
        int status;
        int filled;  // slots that hold the record
        bool kept;   // the original bytes are kept aside
    } cases[] = {
        {"three", Repeat(record, 3), 0, 3, false},
        {"all 161 slots, the last never saved", Repeat(record, 161), 0, 161, true},
        {"one record too many", Repeat(record, 162), 1, 161, true},
        {"cut short", Repeat(record, 2) + "\"1\",\"n\"\r\n", 1, 2, true},
        {"unclosed quote", Repeat(record, 2) + "\"1\",\"n\",\"\",\"\r\n", 1, 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& name : Entries(folder)) QFile::remove(folder + name);
        messages.clear();
        put("Kiroku.txt", c.file);
        ItemList items = NewItemTable();
        EXPECT_EQ(files.KirokuFileRead(items), c.status);
        ASSERT_EQ(items.size(), size_t(ItemSlotCount));
        for (int slot = 0; slot < ItemSlotCount; ++slot) {
            const ItemRecord expected =
                slot < c.filled ? ItemRecord{"1", "n", "5", "0.5"} : NewItemTable()[size_t(slot)];
            ASSERT_EQ(items[size_t(slot)], expected) << "slot " << slot;
        }
        EXPECT_EQ(messages, c.status == 0 ? QStringList{} : QStringList{StorageErrorText});
        if (!c.kept) {
            EXPECT_EQ(files.lastSalvagedCopy(), "");
        } else {
            EXPECT_EQ(files.lastSalvagedCopy(), path("Kiroku.unreadable-20250305-140709.txt"));
            EXPECT_EQ(ReadBytes(files.lastSalvagedCopy()), c.file);
        }
        EXPECT_EQ(bytes("Kiroku.txt"), c.file);  // left for the user until the next save
    }
}

TEST_F(DataFilesTest, BrokenEnbunEmptiesTheLogAndKeepsACopy) {
    const QByteArray broken = "\"2025/03/04\",\"6.5\",\"\",\"\"\r\n\"2025/03/05\",\"7\"";
    put("Enbun.txt", broken);
    LogList log{{"x", "", "", ""}};

    EXPECT_EQ(files.EnbunFileRead(log), 1);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(messages, QStringList{StorageErrorText});
    const QString copy = path("Enbun.unreadable-20250305-140709.txt");
    EXPECT_EQ(files.lastSalvagedCopy(), copy);
    EXPECT_EQ(ReadBytes(copy), broken);

    // Reading again does not pile up identical copies.
    EXPECT_EQ(files.EnbunFileRead(log), 1);
    EXPECT_EQ(files.lastSalvagedCopy(), copy);
    EXPECT_EQ(Entries(folder).size(), 2);

    // A different broken file under a taken name gets the next number, and
    // saving over the broken file leaves both copies alone.
    put("Enbun.txt", "\"only");
    EXPECT_EQ(files.EnbunFileRead(log), 1);
    EXPECT_EQ(files.lastSalvagedCopy(), path("Enbun.unreadable-20250305-140709-2.txt"));
    ASSERT_EQ(files.EnbunFileWrite({{"2025/03/06", "5", "", ""}}), 0);
    EXPECT_EQ(ReadBytes(copy), broken);
    EXPECT_EQ(bytes("Enbun.unreadable-20250305-140709-2.txt"), "\"only");

    ASSERT_EQ(files.EnbunFileRead(log), 0);
    EXPECT_EQ(files.lastSalvagedCopy(), "");
}

TEST_F(DataFilesTest, UnreadableFileIsMovedAside) {
    put("Enbun.txt", "\"2025/03/04\",\"6.5\",\"\",\"\"\r\n");
    ASSERT_EQ(::chmod(qPrintable(path("Enbun.txt")), 0), 0);
    if (::geteuid() == 0) {
        // Permissions do not stop root; fail the read itself instead.
        test::FakeFileOps ops;
        DataFiles faulty{folder, [this](const QString& m) { messages << m; }, [] { return Now; }, ops};
        ops.reset(2);  // open, then the first read
        LogList log;
        EXPECT_EQ(faulty.EnbunFileRead(log), 1);
        EXPECT_EQ(ops.trace.value(1), "read");
        EXPECT_EQ(faulty.lastSalvagedCopy(), path("Enbun.unreadable-20250305-140709.txt"));
    } else {
        LogList log;
        EXPECT_EQ(files.EnbunFileRead(log), 1);
        EXPECT_EQ(files.lastSalvagedCopy(), path("Enbun.unreadable-20250305-140709.txt"));
    }
    EXPECT_EQ(messages, QStringList{StorageErrorText});
    EXPECT_EQ(Entries(folder), QStringList{"Enbun.unreadable-20250305-140709.txt"});
}

TEST_F(DataFilesTest, ChomiUsesTwentyRecordsAndKeepsWhatItReadBeforeAnError) {
    QByteArray file;
    for (int i = 0; i < 25; ++i)
        file += "\"s" + QByteArray::number(i) + "\",\"" + QByteArray::number(i) + "\"\r\n";
    put("Chomi.txt", file);
    SeasoningList rows;
    ASSERT_EQ(files.ChomiFileRead(rows), 0);
    EXPECT_EQ(rows[19], (SeasoningRecord{"s19", "19"}));

    put("Chomi.txt", "\"a\",\"1\"\r\n\"b\",\"2\"\r\n\"c\"");
    rows.fill({"old", "9"});
    ASSERT_EQ(files.ChomiFileRead(rows), 0);
    EXPECT_EQ(rows[1], (SeasoningRecord{"b", "2"}));
    EXPECT_EQ(rows[2], (SeasoningRecord{"old", "9"}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DataFilesTest, InterruptedWritesAreRestored) {
    const QByteArray good = "\"2025/03/04\",\"6.5\",\"\",\"\"\r\n";
    const struct {
        const char* name;
        bool truncatedTxt;
        bool viaPrepare;
    } cases[] = {
        {"truncated file, at start-up", true, true},
        {"truncated file, by the read", true, false},
        {"backup without file, at start-up", false, true},
        {"backup without file, by the read", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& name : Entries(folder)) QFile::remove(folder + name);
        put("Enbun.bak", good);
        if (c.truncatedTxt) put("Enbun.txt", good.left(10));
        if (c.viaPrepare) {
            files.Prepare();
            // The file the backup replaces is kept when it differs.
            EXPECT_EQ(Entries(folder).size(), c.truncatedTxt ? 3 : 2);
        }
        LogList log;
        ASSERT_EQ(files.EnbunFileRead(log), 0);
        EXPECT_EQ(log, (LogList{{"2025/03/04", "6.5", "", ""}}));
        EXPECT_EQ(bytes("Enbun.txt"), good);
        EXPECT_EQ(bytes("Enbun.bak"), "<absent>");
        if (c.truncatedTxt) {
            EXPECT_EQ(bytes("Enbun.unreadable-20250305-140709.txt"), good.left(10));
        }
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DataFilesTest, PrepareCreatesAnEmptyItemFileAndLeavesOthersAlone) {
    put("Moku.txt", "7\r\n");
    files.Prepare();
    EXPECT_EQ(bytes("Kiroku.txt"), "");
    EXPECT_EQ(Entries(folder), (QStringList{"Kiroku.txt", "Moku.txt"}));
    ItemList items = NewItemTable();
    EXPECT_EQ(files.KirokuFileRead(items), 0);

    put("Kiroku.txt", "\"1\",\"a\",\"\",\"\"\r\n");
    files.Prepare();
    EXPECT_EQ(bytes("Kiroku.txt"), "\"1\",\"a\",\"\",\"\"\r\n");
}

// A save killed after installing its new log and before removing the backup
// (about 4 ms of every save). What the next start does with the backup depends
// on whether it is ours and whether the log is still what our save installed:
// a sync program may have brought a newer log, or carried another machine's
// backup here.
TEST(LeftoverBackup, IsPutBackOnlyOverWhatOurOwnInterruptedSaveInstalled) {
    struct DiesBeforeTheBackupGoes : test::FakeFileOps {
        int rename(const QByteArray& from, const QByteArray& to) override {
            if (from.endsWith(".bak")) ::raise(SIGKILL);
            return FakeFileOps::rename(from, to);
        }
    };
    const QByteArray old = "\"2024/03/01\",\"5\",\"\",\"\"\r\n";
    const QByteArray ours = old + "\"2024/03/02\",\"6\",\"\",\"\"\r\n";
    const QByteArray theirs = ours + "\"2024/03/03\",\"7\",\"\",\"\"\r\n\"2024/03/04\",\"8\",\"\",\"\"\r\n";
    const auto markerSays = [](const QString& marker, const QByteArray& from, const QByteArray& to) {
        QByteArray text = ReadBytes(marker);
        ASSERT_TRUE(text.contains(from));
        WriteBytes(marker, text.replace(from, to));
    };
    const struct {
        const char* what;
        std::function<void(const QString& folder)> after;  // what happened before the next start
        bool rolledBack;
    } cases[] = {
        {"our own save, nothing since", [](const QString&) {}, true},
        {"a newer log from elsewhere since",
         [&](const QString& f) {
             WriteBytes(f + "new", theirs);
             ASSERT_EQ(::rename(qPrintable(f + "new"), qPrintable(f + "Enbun.txt")), 0);
         },
         false},
        {"the backup of another machine",
         [&](const QString& f) {
             markerSays(f + "Enbun.bak.info", "machine " + ThisMachineId(), "machine other");
         },
         false},
        {"the backup of an earlier boot",
         [&](const QString& f) { markerSays(f + "Enbun.bak.info", "boot " + ThisBootId(), "boot other"); },
         false},
        {"a backup with no marker", [](const QString& f) { QFile::remove(f + "Enbun.bak.info"); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        WriteBytes(folder + "Enbun.txt", old);
        {
            DiesBeforeTheBackupGoes dying;
            DataFiles killed(
                folder, {}, [] { return Now; }, dying);
            LogList log;
            ASSERT_EQ(killed.EnbunFileRead(log), 0);
            log.push_back({"2024/03/02", "6", "", ""});
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) ::_exit(killed.EnbunFileWrite(log));
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFSIGNALED(status));
            ASSERT_EQ(ReadBytes(folder + "Enbun.txt"), ours);
            ASSERT_EQ(ReadBytes(folder + "Enbun.bak"), old);
        }
        const QByteArray standing = [&] {
            c.after(folder);
            return ReadBytes(folder + "Enbun.txt");
        }();

        QStringList messages;
        DataFiles files(
            folder, [&](const QString& m) { messages << m; }, [] { return Now; });
        files.Prepare();
        LogList log;
        ASSERT_EQ(files.EnbunFileRead(log), 0);
        EXPECT_TRUE(messages.isEmpty());
        EXPECT_EQ(EnbunBytes(log), c.rolledBack ? old : standing);
        EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), c.rolledBack ? old : standing);
        EXPECT_FALSE(QFile::exists(folder + "Enbun.bak"));
        EXPECT_FALSE(QFile::exists(folder + "Enbun.bak.info"));
        const auto leftovers = files.takeLeftoverBackups();
        const auto kept = files.takeKeptCopies();
        if (c.rolledBack) {
            EXPECT_TRUE(leftovers.empty());
            ASSERT_EQ(kept.size(), 1u);
            EXPECT_EQ(kept[0].because, DataFiles::KeptBecause::Replaced);
            EXPECT_EQ(ReadBytes(kept[0].copy), ours);
        } else {
            EXPECT_TRUE(kept.empty());
            ASSERT_EQ(leftovers.size(), 1u);
            EXPECT_EQ(leftovers[0].stem, "Enbun");
            EXPECT_EQ(leftovers[0].bytes, old);
            EXPECT_EQ(leftovers[0].copy, folder + "Enbun.merged-20250305-140709.txt");
            EXPECT_EQ(ReadBytes(leftovers[0].copy), old);
        }
    }
}

}  // namespace
}  // namespace morv
