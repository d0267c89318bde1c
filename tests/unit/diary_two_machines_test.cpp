// Two machines' documents on one data folder, as a sync program that keeps
// it equal at once would leave them: each writes only its own journal, and
// the diary on each is the fold of both.

#include "diary/DiaryDocument.h"
#include "diary/FolderSync.h"
#include "diary/SeasoningDefaults.h"
#include "storage_test_support.h"

#include <QDateTime>
#include <QDir>

#include <gtest/gtest.h>

namespace morv::test {
namespace {

QByteArray Day(const char* date, const char* salt) {
    return QByteArray("\"") + date + "\",\"" + salt + "\",\"\",\"\"\r\n";
}

class TwoMachines : public ::testing::Test {
protected:
    struct Machine_ {
        std::unique_ptr<DiaryDocument> doc;
        QStringList notices;
        Diary& diary() { return doc->diary(); }
        void look() { doc->findChild<FolderSync*>()->CheckNow(); }
        void save() { ASSERT_TRUE(doc->SaveChangedNow().ok()); }
        void registerDay(const char* date, const char* salt) {
            diary().RegisterDay(diary().FindPlace(date), date, salt);
        }
    };

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path() + QStringLiteral("/Tavelnor/");
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    void open(Machine_& m, const char* node, const char* host) {
        // The wall clock, as file times are; it moves on at every look, so
        // that what is done later here is also stamped later.
        m.doc = std::make_unique<DiaryDocument>(
            folder, [this] { return QDateTime::currentDateTimeUtc().addMSecs(++ticks); }, SystemFileOps(),
            nullptr, Machine{node, host});
        QObject::connect(m.doc.get(), &DiaryDocument::notice, [&m](const QString& t) { m.notices << t; });
        m.doc->LoadSmallFiles(BuiltInSeasonings());
        m.doc->LoadLog();
    }
    QStringList dates(Machine_& m) {
        QStringList out;
        for (const LogRecord& d : m.diary().DailyLog()) out << QString(d.LogDate) + "=" + QString(d.DaySalt);
        return out;
    }

    QTemporaryDir dir{ScratchTemplate()};
    QString folder;
    int ticks = 0;
    Machine_ desk, laptop;
};

TEST_F(TwoMachines, EachKeepsTheOthersChangesAndTheLaterOfTwoEditsWinsToldOnlyWhereItLost) {
    WriteBytes(folder + "Enbun.txt", Day("2026/12/01", "7"));
    open(desk, "aaaaaaaaaaaaaaaa", "desk");
    open(laptop, "bbbbbbbbbbbbbbbb", "laptop");
    // A day on each, an item on each, and the same item on both while they
    // could not see each other: the laptop's edit is the later.
    desk.registerDay("2026/12/02", "8");
    desk.diary().SetItemName(0, "miso");
    desk.diary().SetItemName(2, "tea");
    desk.save();
    laptop.registerDay("2026/12/03", "9");
    laptop.diary().SetItemName(1, "rice");
    laptop.diary().SetItemName(2, "coffee");
    laptop.save();
    desk.look();
    laptop.look();
    for (TwoMachines::Machine_* m : {&desk, &laptop}) {
        EXPECT_EQ(dates(*m), QStringList({"2026/12/01=7", "2026/12/02=8", "2026/12/03=9"}));
        EXPECT_EQ(m->diary().ItemTable()[0].ItemName, "miso");
        EXPECT_EQ(m->diary().ItemTable()[1].ItemName, "rice");
        EXPECT_EQ(m->diary().ItemTable()[2].ItemName, "coffee");
    }
    ASSERT_EQ(desk.notices.size(), 1);
    EXPECT_TRUE(desk.notices[0].contains("laptop") && desk.notices[0].contains("tea") &&
                desk.notices[0].contains("coffee"))
        << desk.notices[0].toStdString();
    EXPECT_TRUE(laptop.notices.isEmpty());
    // Seen by both now: a later change on the desk replaces it without a word.
    desk.save();
    laptop.save();
    laptop.look();
    desk.diary().SetItemName(2, "water");
    desk.save();
    laptop.look();
    EXPECT_EQ(laptop.diary().ItemTable()[2].ItemName, "water");
    EXPECT_TRUE(laptop.notices.isEmpty());
    // Nothing in the folder says conflict.
    EXPECT_TRUE(QDir(folder).entryList({"*conflict*", "*merged*"}, QDir::Files).isEmpty());
}

TEST_F(TwoMachines, OnlyAChangeDeletesNeverAFileAwayOrOlder) {
    WriteBytes(folder + "Enbun.txt", Day("2026/12/01", "7") + Day("2026/12/02", "8"));
    open(desk, "aaaaaaaaaaaaaaaa", "desk");
    open(laptop, "bbbbbbbbbbbbbbbb", "laptop");
    desk.save();
    const QByteArray before = ReadBytes(folder + "Enbun.txt");
    // The log deleted on the desk; a day registered on the laptop after it stands.
    ASSERT_TRUE(desk.doc->DeleteFile(DataFile::Enbun));
    laptop.look();
    EXPECT_EQ(laptop.diary().LogCount(), 0);
    laptop.registerDay("2026/12/05", "6");
    laptop.save();
    desk.look();
    EXPECT_EQ(dates(desk), QStringList({"2026/12/05=6"}));
    // The file taken away for a moment, then put back as an older copy: no
    // day goes, none of the old ones comes back, and the file is written again.
    QFile::remove(folder + "Enbun.txt");
    desk.look();
    EXPECT_EQ(dates(desk), QStringList({"2026/12/05=6"}));
    WriteBytes(folder + "Enbun.txt", before);
    QFile older(folder + "Enbun.txt");
    ASSERT_TRUE(
        older.open(QIODevice::ReadWrite) &&
        older.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    older.close();
    desk.look();
    EXPECT_EQ(dates(desk), QStringList({"2026/12/05=6"}));
    desk.save();
    EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), Day("2026/12/05", "6"));
    // Every data file removed, one by one: all of it is still there and written back.
    desk.diary().SetItemName(4, "bread");
    desk.save();
    for (const char* name : {"Kiroku.txt", "Chomi.txt", "Moku.txt", "Atu.txt", "Enbun.txt"})
        QFile::remove(folder + name);
    desk.look();
    desk.save();
    EXPECT_EQ(dates(desk), QStringList({"2026/12/05=6"}));
    EXPECT_EQ(desk.diary().ItemTable()[4].ItemName, "bread");
    EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), Day("2026/12/05", "6"));
    // And a fresh start from the journals alone has it all.
    for (const char* name : {"Kiroku.txt", "Enbun.txt"}) QFile::remove(folder + name);
    TwoMachines::Machine_ again;
    open(again, "cccccccccccccccc", "third");
    EXPECT_EQ(dates(again), QStringList({"2026/12/05=6"}));
    EXPECT_EQ(again.diary().ItemTable()[4].ItemName, "bread");
}

TEST_F(TwoMachines, ASyncProgramsCopyIsTakenInThenMovedAway) {
    open(desk, "aaaaaaaaaaaaaaaa", "desk");
    desk.registerDay("2026/12/02", "8");
    desk.save();
    // Another program's version of the log, kept by the sync program as a
    // copy in each naming scheme: its new day comes in and the copy goes
    // once it is in the journal.
    const QStringList copies{"Enbun.sync-conflict-20261208-090000-ABCDEFG.txt",
                             "Enbun (Laptop's conflicted copy 2026-12-08).txt", "Enbun-LAPTOP.txt"};
    int n = 3;
    for (const QString& name : copies) {
        const QByteArray salt = QByteArray::number(n);
        WriteBytes(folder + name,
                   Day("2026/12/02", "8") + Day(QByteArray("2026/12/0" + salt).constData(), "5"));
        ++n;
    }
    desk.look();
    EXPECT_EQ(dates(desk), QStringList({"2026/12/02=8", "2026/12/03=5", "2026/12/04=5", "2026/12/05=5"}));
    for (const QString& name : copies) {
        EXPECT_FALSE(QFile::exists(folder + name)) << name.toStdString();
        EXPECT_TRUE(QFile::exists(folder + "journal/absorbed/" + name)) << name.toStdString();
    }
    EXPECT_TRUE(QDir(folder).entryList({"*conflict-2*", "*merged*"}, QDir::Files).isEmpty());
}

TEST_F(TwoMachines, AJournalOfSupersededLinesIsRewrittenToWhatStillDecides) {
    // Three thousand changes of the target, and a log deleted after a day:
    // the journal keeps the newest target, the deletion and nothing else.
    std::vector<JournalEntry> lines;
    Stamp at{QDateTime::currentMSecsSinceEpoch() - 100000, 0, "aaaaaaaaaaaaaaaa"};
    for (int i = 0; i < 3000; ++i) {
        ++at.counter;
        lines.push_back({at, "target", {}, {QString::number(i % 9 + 1)}});
    }
    ++at.counter;
    lines.push_back({at, "day", "2026/12/01", {"5", "", ""}});
    ++at.counter;
    lines.push_back({at, "log-", {}, {}});
    JournalWriter writer(SystemFileOps(), folder + "journal/", "aaaaaaaaaaaaaaaa", "desk");
    ASSERT_TRUE(writer.append(lines));
    open(desk, "aaaaaaaaaaaaaaaa", "desk");
    EXPECT_EQ(desk.diary().SaltTarget(), QString::number(2999 % 9 + 1));
    EXPECT_EQ(desk.diary().LogCount(), 0);
    JournalReader reader;
    const JournalRead read = reader.read(writer.path());
    ASSERT_EQ(read.entries.size(), 2u);
    EXPECT_EQ(read.entries[0].op, "target");
    EXPECT_EQ(read.entries[1].op, "log-");
    // The next machine folds the same diary from it.
    open(laptop, "bbbbbbbbbbbbbbbb", "laptop");
    EXPECT_EQ(laptop.diary().SaltTarget(), desk.diary().SaltTarget());
}

}  // namespace
}  // namespace morv::test
