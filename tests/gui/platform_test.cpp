// The platform layer as the program relies on it: message boxes titled
// "Morvaline" with No as the default answer and Japanese buttons, file dialogs
// that see .txt and .TXT alike and never ask about overwriting, one running copy.

#include "platform/CalendarControl.h"
#include "platform/QtDialogs.h"
#include "platform/SingleInstance.h"
#include "platform/Translations.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace morv {
namespace {

TEST(PlatformDialogs, QuestionsDefaultToNoAndNoticesHaveOnlyOk) {
    auto question = MakeQuestionBox(nullptr, "内容を書き換えますか？");
    EXPECT_EQ(question->windowTitle(), "Morvaline");
    EXPECT_EQ(question->text(), "内容を書き換えますか？");
    EXPECT_EQ(question->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question->defaultButton(), question->button(QMessageBox::No));

    auto notice = MakeNoticeBox(nullptr, "日付が誤っています");
    EXPECT_EQ(notice->windowTitle(), "Morvaline");
    EXPECT_EQ(notice->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(notice->textFormat(), Qt::PlainText);
    EXPECT_EQ(question->textFormat(), Qt::PlainText);
}

TEST(PlatformDialogs, QtsOwnButtonsSpeakJapanese) {
    ASSERT_TRUE(LoadJapaneseQtTexts(*QApplication::instance()));
    auto question = MakeQuestionBox(nullptr, "?");
    EXPECT_EQ(question->button(QMessageBox::Yes)->text().remove('&'), "はい(Y)");
    EXPECT_EQ(question->button(QMessageBox::No)->text().remove('&'), "いいえ(N)");
}

QStringList listedNames(QFileDialog& dialog) {
    auto* view = dialog.findChild<QListView*>("listView");
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!view || !model) return {};
    QStringList names;
    // The folder is read in the background; wait until it has been listed.
    if (!QTest::qWaitFor([&] { return model->rowCount(view->rootIndex()) >= 2; }, 5000)) return {};
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
        const QModelIndex index = view->model()->index(row, 0, view->rootIndex());
        if (index.flags() & Qt::ItemIsEnabled) names << index.data().toString();
    }
    names.sort();
    return names;
}

TEST(PlatformDialogs, TextFileFilterMatchesBothCases) {
    QTemporaryDir dir;
    for (const char* name : {"a.txt", "B.TXT", "c.dat"}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QFileDialog dialog;
    FileRequest request;
    request.title = OpenDialogTitle;
    request.initialFolder = dir.path();
    PrepareFileDialog(dialog, request, false);
    dialog.show();
    EXPECT_EQ(listedNames(dialog), (QStringList{"B.TXT", "a.txt"}));
    EXPECT_EQ(dialog.windowTitle(), "ファイルを取り込む");
    EXPECT_EQ(dialog.nameFilters(), QStringList{"テキストファイル(*.TXT)"});
}

TEST(PlatformDialogs, SaveDialogProposesTheNameAndNeverAsksToOverwrite) {
    QFileDialog dialog;
    FileRequest request;
    request.title = SaveDialogTitle;
    request.initialFolder = "C:\\";
    request.proposedName = "Morvaline20240105.TXT";
    PrepareFileDialog(dialog, request, true);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.directory().absolutePath(), QDir::homePath()) << "no C:\\ here";
    EXPECT_TRUE(dialog.selectedFiles().value(0).endsWith("/Morvaline20240105.TXT"));
}

TEST(PlatformSingleInstance, ASecondCopyIsRefusedUntilTheFirstEnds) {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    auto first = std::make_unique<SingleInstance>(folder);
    ASSERT_TRUE(first->acquire());
    SingleInstance second(folder);
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(second.heldByAnother()) << "only this ends silently";
    first.reset();
    EXPECT_TRUE(second.acquire());

    // A folder that is not there is no second copy: the start-up says why.
    SingleInstance nowhere(folder + "missing/");
    EXPECT_FALSE(nowhere.acquire());
    EXPECT_FALSE(nowhere.heldByAnother());
    EXPECT_EQ(nowhere.whyNot(), "フォルダがありません。");
}

TEST(PlatformSingleInstance, TheLockIsPerMachineAndNeverInTheDataFolder) {
    QTemporaryDir data, desktopRuntime, laptopRuntime;
    const QString folder = data.path() + '/';
    // An earlier version's lock, synced over from a machine that crashed.
    QFile old(folder + "Morvaline.lock");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("4242\nmorvaline\nlaptop\n");
    old.close();
    ASSERT_TRUE(QFile::link(data.path(), desktopRuntime.path() + "/link"));

    SingleInstance desktop(folder, desktopRuntime.path());
    ASSERT_TRUE(desktop.acquire());
    SingleInstance laptop(folder, laptopRuntime.path());
    EXPECT_TRUE(laptop.acquire()) << "another machine is never barred";
    // The same folder by another name on the same machine is the same diary.
    SingleInstance throughLink(desktopRuntime.path() + "/link/", desktopRuntime.path());
    EXPECT_FALSE(throughLink.acquire());
    EXPECT_TRUE(throughLink.heldByAnother());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"Morvaline.lock"});
}

TEST(PlatformSingleInstance, ALockLeftByAKilledCopyDoesNotBlock) {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstance held(folder);
        const char ok = held.acquire() ? 1 : 0;
        [[maybe_unused]] ssize_t n = write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 1);
    SingleInstance meanwhile(folder);
    EXPECT_FALSE(meanwhile.acquire());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    SingleInstance next(folder);
    EXPECT_TRUE(next.acquire());
    close(ready[0]);
    close(ready[1]);
}

}  // namespace
}  // namespace morv

namespace morv {
namespace {

TEST(PlatformCalendar, ADoubleClickedDayIsPickedOnce) {
    CalendarControl calendar;
    int picks = 0;
    QObject::connect(&calendar, &CalendarControl::dayPicked, [&] {
        ++picks;
        calendar.hide();  // as every pick handler does
    });
    calendar.show();
    calendar.setDate(QDate(2025, 3, 5));
    // A double click raises both signals; the second finds the calendar hidden.
    emit calendar.clicked(QDate(2025, 3, 5));
    emit calendar.activated(QDate(2025, 3, 5));
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(calendar.Year() * 10000 + calendar.Month() * 100 + calendar.Day(), 20250305);
}

}  // namespace
}  // namespace morv
