// The window on a data folder that a sync program keeps in step with another
// machine: a file replaced under the running window shows, a day registered
// here meanwhile is merged rather than lost, and a sync program's conflict copy
// of the log gives its days. The folder watch is driven by hand (CheckNow).

#include "SaltListFixture.h"
#include "diary/FolderSync.h"

#include <QLabel>
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
    EXPECT_FALSE(w.diary().HasChanges(DataFile::Enbun)) << "read, not a change to save back";
    EXPECT_TRUE(dialogs.notices().isEmpty());

    // A sync program's conflict copy: its own days join, the file's win, and
    // the copy is renamed so it is merged once.
    const QString copy = "Enbun.sync-conflict-20240105-090000-ABCDEFG.txt";
    put(copy, line("2024/01/03", "7") + line("2024/01/04", "1"));
    checkFolder();
    EXPECT_EQ(listedDays(), (QStringList{"2024/01/01", "2024/01/03", "2024/01/04"}));
    EXPECT_EQ(screen().LabelE2[2]->text(), "9");
    ASSERT_EQ(dialogs.notices().size(), 1);
    EXPECT_TRUE(dialogs.notices()[0].contains(copy));
    EXPECT_FALSE(exists(copy));
    EXPECT_TRUE(exists("Enbun.sync-conflict-20240105-090000-ABCDEFG.merged-20240105-093000.txt"));
    w.AutosaveNow();
    EXPECT_EQ(bytes("Enbun.txt"), line("2024/01/01", "5") + line("2024/01/03", "7") + line("2024/01/04", "9"));
}

TEST_F(FolderSyncTest, ADayFromElsewhereIsMergedWithTheDayRegisteredHere) {
    put("Enbun.txt", line("2024/01/01", "5") + line("2024/01/02", "6"));
    Form1& w = start();
    w.Command2()->click();  // registers 2024/01/05 with the total "0"
    // The laptop's day arrives before this window has looked at the folder,
    // and the laptop changed 01/02 as well.
    replace("Enbun.txt", line("2024/01/01", "5") + line("2024/01/02", "4") + line("2024/01/03", "7"));
    w.AutosaveNow();
    EXPECT_EQ(bytes("Enbun.txt"),
              line("2024/01/01", "5") + line("2024/01/02", "4") + line("2024/01/03", "7") + line("2024/01/05", "0"));
    EXPECT_FALSE(w.diary().HasChanges(DataFile::Enbun));

    // Both change the same day: this machine's value stays, the other's is kept.
    w.diary().SetReading(3, "80", "120");
    replace("Enbun.txt", line("2024/01/01", "5") + line("2024/01/02", "4") + line("2024/01/03", "7") +
                             "\"2024/01/05\",\"0\",\"70\",\"110\"\r\n");
    const QByteArray theirs = bytes("Enbun.txt");
    dialogs.calls.clear();
    w.AutosaveNow();
    EXPECT_TRUE(bytes("Enbun.txt").endsWith("\"2024/01/05\",\"0\",\"80\",\"120\"\r\n"));
    EXPECT_EQ(bytes("Enbun.conflict-20240105-093000.txt"), theirs);
    ASSERT_EQ(dialogs.notices().size(), 1);
    EXPECT_TRUE(dialogs.notices()[0].contains(path("Enbun.conflict-20240105-093000.txt")));
}

}  // namespace
}  // namespace morv::test
