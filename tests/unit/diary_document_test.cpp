// The document without a window: its saves (the log on its own thread), the
// merge of a file changed elsewhere, a failing disk told once, and a data
// folder or log that goes away under it.

#include "diary/DiaryBooks.h"
#include "diary/DiaryDocument.h"
#include "diary/FolderSync.h"
#include "diary/SeasoningDefaults.h"
#include "storage_test_support.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QSet>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace morv::test {
namespace {

QByteArray Line(const char* date, const char* salt, const char* low = "", const char* high = "") {
    return QByteArray("\"") + date + "\",\"" + salt + "\",\"" + low + "\",\"" + high + "\"\r\n";
}

class FailingRenames final : public PosixFileOps {
public:
    bool failing = true;
    int rename(const QByteArray& from, const QByteArray& to) override {
        if (!failing) return PosixFileOps::rename(from, to);
        errno = EIO;
        return -1;
    }
};

class DiaryDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path() + QStringLiteral("/Tavelnor/");
        ASSERT_TRUE(QDir().mkpath(folder));
    }

    DiaryDocument& open(FileOps& ops = SystemFileOps()) {
        doc = std::make_unique<DiaryDocument>(
            folder, [] { return QDateTime(QDate(2024, 1, 5), QTime(9, 30)); }, ops);
        QObject::connect(doc.get(), &DiaryDocument::notice, [this](const QString& text) { notices << text; });
        QObject::connect(doc.get(), &DiaryDocument::storageFailed,
                         [this](const QString& text) { failures << text; });
        doc->LoadSmallFiles(BuiltInSeasonings());
        doc->LoadLog();
        return *doc;
    }
    // What the watcher leads to once the folder has settled.
    void checkFolder() { doc->findChild<FolderSync*>()->CheckNow(); }
    void register_(const char* date, const char* salt) {
        Diary& d = doc->diary();
        d.RegisterDay(d.FindPlace(date), date, salt);
    }

    QTemporaryDir dir{ScratchTemplate()};
    QString folder;
    std::unique_ptr<DiaryDocument> doc;
    QStringList notices;
    QStringList failures;
};

TEST_F(DiaryDocumentTest, SavesTheLogOnItsThread) {
    WriteBytes(folder + "Enbun.txt", Line("2024/01/01", "5") + Line("2024/01/02", "6"));
    DiaryDocument& d = open();
    register_("2024/01/04", "6");
    d.SaveInBackground();
    // A day registered while that save runs goes with the next one.
    register_("2024/01/05", "0");
    EXPECT_TRUE(d.SaveChangedNow().ok());
    EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), Line("2024/01/01", "5") + Line("2024/01/02", "6") +
                                                   Line("2024/01/04", "6") + Line("2024/01/05", "0"));
    EXPECT_FALSE(DiaryBooks(d.diary()).HasChanges(DataFile::Enbun));
}

// Which data files a save put in place, and how many files it opened.
class RecordingRenames final : public PosixFileOps {
public:
    QSet<QString> written;
    int opens = 0;
    int open(const QByteArray& p, int f, mode_t m) override { return ++opens, PosixFileOps::open(p, f, m); }
    int rename(const QByteArray& from, const QByteArray& to) override {
        if (to.endsWith(".txt")) written << QFileInfo(QFile::decodeName(to)).fileName();
        return PosixFileOps::rename(from, to);
    }
};

TEST_F(DiaryDocumentTest, TheCloseWritesWhatChangedOrIsNotAsThisProgramWritesIt) {
    WriteBytes(folder + "Enbun.txt", Line("2024/01/01", "5"));
    EXPECT_TRUE(open().SaveAllAndStop().ok());  // a first run's files, as written here
    RecordingRenames ops;
    open(ops);
    ops.opens = 0;
    EXPECT_TRUE(doc->SaveAllAndStop().ok());
    EXPECT_EQ(ops.opens, 0) << "nothing changed: not even compared";
    WriteBytes(folder + "Atu.txt", " 3400\r\n");
    open(ops).diary().SetSaltTarget("7");
    EXPECT_TRUE(doc->SaveAllAndStop().ok());
    EXPECT_EQ(ops.written, (QSet<QString>{"Atu.txt", "Moku.txt"}));
    EXPECT_EQ(ReadBytes(folder + "Atu.txt"), "3400\r\n");
}

TEST_F(DiaryDocumentTest, AFailingSaveIsToldOnceUntilOneWorks) {
    FailingRenames ops;
    DiaryDocument& d = open(ops);
    for (const char* target : {"7", "6"}) {
        d.diary().SetSaltTarget(target);
        // By name and with the storage's words, though they are told once.
        const SaveResult saved = d.SaveChangedNow();
        EXPECT_EQ(saved.failed, std::vector<DataFile>{DataFile::Moku});
        EXPECT_EQ(saved.reason, StorageErrorText);
    }
    EXPECT_EQ(failures, QStringList{StorageErrorText}) << "once, while it keeps failing";
    ops.failing = false;
    EXPECT_TRUE(d.SaveChangedNow().ok());
    EXPECT_EQ(ReadBytes(folder + "Moku.txt"), "6\r\n");
    d.diary().SetSaltTarget("5");
    ops.failing = true;
    EXPECT_FALSE(d.SaveAllAndStop().ok());
    EXPECT_GT(failures.size(), 1) << "the close reports again";
}

TEST_F(DiaryDocumentTest, AFolderOrLogThatGoesAwayLosesNothing) {
    WriteBytes(folder + "Enbun.txt", Line("2024/01/01", "5"));
    WriteBytes(folder + "Moku.txt", "7\r\n");
    DiaryDocument& d = open();
    d.diary().SetItem(3, {"1", "みそ汁", "", "1.5"});
    ASSERT_TRUE(d.SaveChangedNow().ok());

    // The log replaced by a FIFO: kept aside, and the log in memory stays
    // and is written back.
    ASSERT_EQ(::unlink(QFile::encodeName(folder + "Enbun.txt")), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "Enbun.txt"), 0600), 0);
    checkFolder();
    EXPECT_EQ(d.diary().LogCount(), 1);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains("この画面の内容はそのまま残し")) << notices[0].toStdString();
    EXPECT_TRUE(notices[0].contains("ふつうのファイルではない")) << notices[0].toStdString();
    EXPECT_FALSE(notices[0].contains("元の内容")) << "a FIFO has no content to keep";
    EXPECT_TRUE(d.SaveChangedNow().ok());
    EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), Line("2024/01/01", "5"));

    // The whole folder moved away while running: nothing counts as deleted,
    // and the next save writes everything anew where the folder was.
    const QString moved = dir.path() + "/Moved";
    ASSERT_TRUE(QDir().rename(folder, moved));
    const QStringList before = Entries(moved);
    d.diary().SetSaltTarget("6");
    checkFolder();
    EXPECT_EQ(notices.size(), 2);
    EXPECT_TRUE(notices.last().contains("見つかりません"));
    EXPECT_EQ(d.diary().ItemTable()[3].ItemName, "みそ汁");
    EXPECT_EQ(d.diary().LogCount(), 1);
    EXPECT_TRUE(d.SaveChangedNow().ok());
    EXPECT_EQ(ReadBytes(folder + "Moku.txt"), "6\r\n");
    EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), Line("2024/01/01", "5"));
    EXPECT_TRUE(ReadBytes(folder + "Kiroku.txt").contains("1.5"));
    EXPECT_EQ(Entries(moved), before) << "the moved folder is not followed";
    // Watched again from here: another program's change is read as usual.
    WriteBytes(folder + "Moku.txt", "5\r\n");
    checkFolder();
    EXPECT_EQ(d.diary().SaltTarget(), "5");

    // Another folder put in its place, with a day of its own: told as such,
    // and the day comes in, named, at the next save.
    ASSERT_TRUE(QDir().rename(folder, dir.path() + "/Away"));
    ASSERT_TRUE(QDir().mkpath(folder));
    WriteBytes(folder + "Enbun.txt", Line("2024/01/01", "5") + Line("2024/01/02", "8"));
    checkFolder();
    EXPECT_TRUE(notices.last().contains("置き換わりました")) << notices.last().toStdString();
    EXPECT_TRUE(d.SaveChangedNow().ok());
    EXPECT_EQ(d.diary().LogCount(), 2);
    EXPECT_TRUE(notices.last().contains("「Enbun.txt」")) << notices.last().toStdString();
    EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), Line("2024/01/01", "5") + Line("2024/01/02", "8"));

    // Moved again, and the window closed before anything noticed: the close
    // writes everything anew all the same, without a word.
    ASSERT_TRUE(QDir().rename(folder, dir.path() + "/MovedAgain"));
    const qsizetype told = notices.size();
    EXPECT_TRUE(d.SaveAllAndStop().ok());
    EXPECT_EQ(notices.size(), told);
    EXPECT_EQ(ReadBytes(folder + "Enbun.txt"), Line("2024/01/01", "5") + Line("2024/01/02", "8"));
    EXPECT_EQ(ReadBytes(folder + "Moku.txt"), "5\r\n");
}

}  // namespace
}  // namespace morv::test
