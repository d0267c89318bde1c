// The window on a data folder that a sync program keeps in step with another
// machine: a file replaced under the running window shows, a day registered
// here meanwhile is merged rather than lost, and a sync program's conflict copy
// of the log gives its days. The folder watch is driven by hand (CheckNow).

#include "SaltListFixture.h"
#include "diary/DiaryBooks.h"
#include "diary/FolderSync.h"

#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <cstdio>

namespace morv::test {
namespace {

class FolderSyncTest : public SaltListFixture {
protected:
    static QByteArray line(const char* date, const char* salt) {
        return QByteArray("\"") + date + "\",\"" + salt + "\",\"\",\"\"\r\n";
    }
    // How a sync program installs another machine's file.
    void replace(const QString& name, const QByteArray& content) {
        put(".syncthing." + name + ".tmp", content);
        ASSERT_EQ(std::rename(qPrintable(path(".syncthing." + name + ".tmp")), qPrintable(path(name))), 0);
    }
    void checkFolder() { form->findChild<FolderSync*>()->CheckNow(); }
    QStringList listedDays() const {
        QStringList days;
        for (QLabel* date : screen().LabelE1)
            if (date->isVisible()) days << date->text();
        return days;
    }
};

TEST_F(FolderSyncTest, AFileReplacedWhileTheWindowRunsShowsOnTheOpenList) {
    put("Enbun.txt", line("2024/01/01", "5"));
    put("Moku.txt", "8\r\n");
    Form1& w = start();
    w.Command3()->click();
    ASSERT_EQ(listedDays(), QStringList{"2024/01/01"});

    replace("Enbun.txt", line("2024/01/01", "5") + line("2024/01/04", "9"));
    replace("Moku.txt", "6\r\n");
    checkFolder();
    EXPECT_EQ(listedDays(), (QStringList{"2024/01/01", "2024/01/04"}));
    EXPECT_EQ(screen().LabelE2[1]->text(), "9");
    EXPECT_EQ(w.TextMoku()->text(), "6");
    EXPECT_FALSE(DiaryBooks(w.diary()).HasChanges(DataFile::Enbun)) << "read, not a change to save back";
    EXPECT_TRUE(dialogs.notices().isEmpty());

    // A sync program's conflict copy, the older of two saves: its own days
    // join, the file's newer ones win, and the copy is moved away once its
    // days are in this machine's journal.
    const QString copy = "Enbun.sync-conflict-20240105-090000-ABCDEFG.txt";
    put(copy, line("2024/01/03", "7") + line("2024/01/04", "1"));
    QFile older(path(copy));
    ASSERT_TRUE(
        older.open(QIODevice::ReadWrite) &&
        older.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    older.close();
    checkFolder();
    EXPECT_EQ(listedDays(), (QStringList{"2024/01/01", "2024/01/03", "2024/01/04"}));
    EXPECT_EQ(screen().LabelE2[2]->text(), "9");
    ASSERT_EQ(dialogs.notices().size(), 1);
    EXPECT_TRUE(dialogs.notices()[0].contains(copy));
    EXPECT_FALSE(exists(copy));
    EXPECT_TRUE(exists("journal/absorbed/" + copy));
    w.AutosaveNow();
    EXPECT_EQ(bytes("Enbun.txt"),
              line("2024/01/01", "5") + line("2024/01/03", "7") + line("2024/01/04", "9"));
}

TEST_F(FolderSyncTest, ALargeLogOrCopyIsReadAwayFromTheWindow) {
    QByteArray many;
    for (QDate day(1980, 1, 1); day < QDate(2100, 1, 1); day = day.addDays(1))
        many += line(day.toString("yyyy/MM/dd").toUtf8().constData(), "5");
    ASSERT_GT(many.size(), FolderSync::ReadAwayAboveBytes);
    put("Enbun.txt", line("2024/01/01", "5"));
    Form1& w = start();
    // The other machine's log of some forty thousand days, and then a copy as
    // large: neither is in the diary when the look returns; both come in.
    replace("Enbun.txt", many);
    checkFolder();
    EXPECT_EQ(w.diary().LogCount(), 1) << "read away, not on the window's thread";
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.diary().LogCount() > 1; }, 20000));
    EXPECT_EQ(w.diary().LogCount(), many.count('\n'));
    const QString copy = "Enbun.sync-conflict-20240105-090000-ABCDEFG.txt";
    put(copy, many + line("2100/01/01", "7"));
    checkFolder();
    EXPECT_TRUE(exists(copy));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !exists(copy); }, 20000));
    EXPECT_EQ(w.diary().DailyLog().back().LogDate, "2100/01/01");
    EXPECT_TRUE(exists("journal/absorbed/" + copy));
}

}  // namespace
}  // namespace morv::test
