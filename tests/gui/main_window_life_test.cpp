// The window's life: first run, start-up from existing files, the saves of
// shutdown by either way of closing, and what a failed save tells the user.

#include "MainWindowFixture.h"
#include "diary/DiaryBooks.h"

#include <QDir>
#include "grid/WeightPanel.h"
#include "platform/CalendarControl.h"
#include "storage/FileOps.h"
#include "text/Cp932.h"
#include "ui/Colours.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cerrno>

namespace morv::test {
namespace {

using MainWindowLife = MainWindowFixture;

QByteArray repeated(const QByteArray& line, int count) {
    QByteArray out;
    for (int i = 0; i < count; ++i) out += line;
    return out;
}

TEST_F(MainWindowLife, FirstRunInAnEmptyFolder) {
    Form1& w = start();
    EXPECT_EQ(w.windowTitle(), "Morvaline");
    EXPECT_EQ(w.size(), QSize(985, 673));
    EXPECT_EQ(w.Text1_0()->text(), "2024/01/05");
    EXPECT_TRUE(w.Text1_0()->hasFocus());
    EXPECT_EQ(w.TextMoku()->text(), "");
    EXPECT_EQ(w.LabelEnbun()->text(), "0");
    EXPECT_EQ(w.LogCount(), 0);
    EXPECT_EQ(w.PressureBarShift(), 3000);
    EXPECT_EQ(w.Label3()->text(), "");
    EXPECT_TRUE(exists("Kiroku.txt"));
    EXPECT_EQ(bytes("Kiroku.txt"), "");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(home.path() + "/Tavelnor").constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "health data stays private";

    w.close();
    EXPECT_EQ(bytes("Kiroku.txt"), repeated("\"0\",\"\",\"\",\"\"\r\n", 160));
    EXPECT_EQ(bytes("Chomi.txt"), repeated("\"\",\"\"\r\n", 20));
    EXPECT_EQ(bytes("Moku.txt"), "\r\n");
    EXPECT_EQ(bytes("Atu.txt"), "3000\r\n");
    EXPECT_FALSE(exists("Enbun.txt")) << "an empty log is not written";
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(MainWindowLife, StartUpLoadsTheFilesAndRestoresAnInterruptedWrite) {
    put("Kiroku.txt", EncodeCp932(u"\"1\",\"みそ汁\",\"\",\"1.234\"\r\n\"1\",\"漬物\",\"\",\"2.005\"\r\n"));
    put("Moku.txt", "3\r\n");
    put("Atu.txt", " 3400\r\n");
    // A save of the log was interrupted: the backup is the last good version.
    put("Enbun.txt", "\"2024/01/0");
    put("Enbun.bak", "\"2024/01/02\",\"6.5\",\"\",\"\"\r\n\"2024/01/03\",\"7\",\"80\",\"120\"\r\n");
    Form1& w = start();
    EXPECT_EQ(w.ItemTable()[0].ItemName, "みそ汁");
    EXPECT_EQ(w.LabelEnbun()->text(), "3.23") << "cut, not rounded";
    EXPECT_EQ(Background(w.LabelEnbun()), colour::Salmon) << "3 < 3.23";
    EXPECT_EQ(w.TextMoku()->text(), "3");
    EXPECT_EQ(w.PressureBarShift(), 3400);
    ASSERT_EQ(w.LogCount(), 2);
    EXPECT_EQ(w.DailyLog()[1].PressureHigh, "120");
    EXPECT_FALSE(exists("Enbun.bak"));
    EXPECT_EQ(w.Label3()->text(), "");
}

TEST_F(MainWindowLife, TheLogReadAfterTheFirstPaintIsThereBeforeAnyInput) {
    put("Enbun.txt", "\"2024/01/02\",\"6.5\",\"\",\"\"\r\n");
    for (bool paint : {true, false}) {
        SCOPED_TRACE(paint ? "painted" : "a key first");
        form = std::make_unique<Form1>(dialogs, clock, folder);
        form->Load(Form1::LogRead::AfterFirstPaint);
        EXPECT_EQ(form->LogCount(), 0) << "not before the window shows";
        if (paint) {
            form->show();
            QTRY_COMPARE(form->LogCount(), 1);
        } else {
            QTest::keyClick(form->Text1_0(), Qt::Key_A);
            EXPECT_EQ(form->LogCount(), 1);
        }
        form.reset();
    }
}

TEST_F(MainWindowLife, AnUnreadableLogIsReportedAndKept) {
    const QByteArray broken = "\"2024/01/02\",\"6.5\",\"\"";  // a record cut short
    put("Enbun.txt", broken);
    Form1& w = start();
    EXPECT_EQ(w.Label3()->text(), "情報処理中にエラーが発生しました");
    EXPECT_EQ(w.LogCount(), 0);
    const QStringList kept = QDir(folder).entryList({"Enbun.unreadable-*"});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(bytes(kept.first()), broken);
    // Once, at start-up: the file, where its copy is, what shows instead.
    ASSERT_EQ(dialogs.notices().size(), 1);
    EXPECT_TRUE(dialogs.notices()[0].contains("「Enbun.txt」"));
    EXPECT_TRUE(dialogs.notices()[0].contains(path(kept.first())));
    EXPECT_TRUE(dialogs.notices()[0].contains("塩分一覧は空の状態です。"));
}

TEST_F(MainWindowLife, CloseBoxAndExitButtonSaveTheSame) {
    QByteArray byExit[5], byCloseBox[5];
    const char* names[5] = {"Kiroku.txt", "Chomi.txt", "Moku.txt", "Enbun.txt", "Atu.txt"};
    for (int run = 0; run < 2; ++run) {
        for (const char* name : names) QFile::remove(path(name));
        QDir(path("journal")).removeRecursively();  // a fresh folder each time
        Form1& w = start();
        w.diary().SetItem(3, {"1", "梅干し", "", "2.2"});
        w.diary().RegisterDay({LogPlace::Kind::Append, 0}, "2024/01/04", "6.1");
        w.diary().SetSeasoningName(0, "  食塩(小さじ) ");
        w.diary().SetUnitSalt(0, "6.0");
        w.TextMoku()->setText("6.5");
        w.diary().SetPressureBarShift(2800);
        if (run == 0)
            QTest::mouseClick(w.Command1(), Qt::LeftButton);
        else
            w.close();
        EXPECT_FALSE(w.isVisible());
        for (int i = 0; i < 5; ++i) (run == 0 ? byExit : byCloseBox)[i] = bytes(names[i]);
        form.reset();
    }
    for (int i = 0; i < 5; ++i) EXPECT_EQ(byExit[i], byCloseBox[i]) << names[i];
    EXPECT_EQ(byExit[2], "6.5\r\n");
    EXPECT_EQ(byExit[3], "\"2024/01/04\",\"6.1\",\"\",\"\"\r\n");
    EXPECT_EQ(byExit[4], "2800\r\n");
    EXPECT_TRUE(byExit[1].startsWith("\"\x90H\x89\x96(\x8f\xac\x82\xb3\x82\xb6)\",\"6.0\"\r\n"))
        << "seasoning names are written without surrounding blanks";
}

TEST_F(MainWindowLife, PendingImportsLeaveTheirFilesUntouched) {
    const QByteArray items = EncodeCp932(u"\"1\",\"前の品\",\"\",\"1\"\r\n");
    const QByteArray log = "\"2023/12/31\",\"8\",\"\",\"\"\r\n";
    put("Kiroku.txt", items);
    put("Enbun.txt", log);
    Form1& w = start();
    ItemList imported = w.ItemTable();
    imported[0].ItemName = "取り込んだ品";
    w.diary().BeginItemImport(imported);
    w.diary().BeginLogImport({{"2024/01/01", "5", "", ""}});
    w.close();
    EXPECT_EQ(bytes("Kiroku.txt"), items);
    EXPECT_EQ(bytes("Enbun.txt"), log);
    EXPECT_TRUE(exists("Chomi.txt"));
    EXPECT_TRUE(exists("Atu.txt"));
}

TEST_F(MainWindowLife, AnEmptiedLogLeavesTheLogFileAsItWas) {
    const QByteArray log = "\"2023/12/31\",\"8\",\"\",\"\"\r\n";
    put("Enbun.txt", log);
    Form1& w = start();
    w.diary().LoadDailyLog({});
    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    EXPECT_EQ(bytes("Enbun.txt"), log);
}

// Fails every rename into place, as a full or read-only disk would.
class FailingRenames final : public PosixFileOps {
public:
    int rename(const QByteArray&, const QByteArray&) override {
        errno = EIO;
        return -1;
    }
};

TEST_F(MainWindowLife, AFailedSaveAtShutdownIsToldOnceAndTheWindowStillCloses) {
    const QByteArray items = EncodeCp932(u"\"1\",\"前の品\",\"\",\"1\"\r\n");
    put("Kiroku.txt", items);
    FailingRenames ops;
    Form1& w = start(ops);
    w.diary().SetItemName(0, "新しい品");
    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(dialogs.notices(), QStringList{"情報処理中にエラーが発生しました"});
    EXPECT_EQ(bytes("Kiroku.txt"), items) << "the previous file is kept";
    EXPECT_FALSE(exists("Kiroku.bak"));
}

TEST_F(MainWindowLife, EditsAreSavedAsTheUserGoes) {
    FailingRenames failing;
    for (bool fail : {false, true}) {
        SCOPED_TRACE(fail ? "failing disk" : "working disk");
        Form1& w = start(fail ? static_cast<FileOps&>(failing) : SystemFileOps());
        auto* timer = w.findChild<QTimer*>("AutosaveTimer");
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->interval(), 2000);
        timer->setInterval(1);
        for (const char* typed : {"7", "5"}) {
            w.Label3()->clear();
            QTest::keyClicks(w.TextMoku(), typed);
            EXPECT_TRUE(timer->isActive()) << "a key restarts the wait";
            QTRY_VERIFY(!timer->isActive());  // it has fired, and the save with it
            if (!fail) {
                EXPECT_EQ(bytes("Moku.txt"), w.TextMoku()->text().toLatin1() + "\r\n");
            } else if (QByteArray(typed) == "7") {
                EXPECT_EQ(w.Label3()->text(), "情報処理中にエラーが発生しました");
            } else {
                EXPECT_EQ(w.Label3()->text(), "") << "a failing autosave says so once";
            }
        }
        EXPECT_TRUE(dialogs.notices().isEmpty());
        // A click that changes nothing (the page shown again, the total on Enter) saves nothing.
        QTest::mouseClick(w.CommandP()[0], Qt::LeftButton);
        QTest::keyClick(w.TextMoku(), Qt::Key_Return);
        EXPECT_FALSE(timer->isActive());
        w.close();
        EXPECT_EQ(dialogs.notices().size(), fail ? 1 : 0) << "the close still reports";
        form.reset();
    }
}

TEST_F(MainWindowLife, ThePanelsWaitHiddenInTheirPlaces) {
    Form1& w = start();
    // None is built until something opens it; built, each waits hidden.
    EXPECT_EQ(w.findChild<QWidget*>("PictureE"), nullptr);
    EXPECT_EQ(w.findChild<QWidget*>("Picture2"), nullptr);
    w.PictureE().get(), w.PictureH().get(), w.PictureCho().get();
    w.Picture2().get(), w.Picture3().get(), w.Picture4().get();
    for (const char* name : {"PictureE", "PictureH", "PictureCho"}) {
        auto* panel = find<QWidget>(name);
        EXPECT_FALSE(panel->isVisible()) << name;
        EXPECT_EQ(panel->geometry(), QRect(0, 0, 985, 673)) << name;
    }
    for (const char* name : {"Picture2", "Picture3", "Picture4"}) {
        auto* panel = find<QWidget>(name);
        EXPECT_FALSE(panel->isVisible()) << name;
        EXPECT_EQ(panel->pos(), QPoint(0, 40)) << name;
        // They stand over the whole column of commands under the top strip.
        for (QPushButton* b : {w.Command2(), w.Command30(), w.Command3(), w.Command13(), w.Command8()})
            EXPECT_TRUE(panel->geometry().contains(b->geometry())) << name;
    }
    EXPECT_TRUE(w.Picture1()->isVisible());
    EXPECT_TRUE(w.Picture7()->isVisible());
    EXPECT_FALSE(w.Calendar1()->isVisible());
}

TEST_F(MainWindowLife, EveryMainViewControlHasItsCaptionAndTooltip) {
    start();
    const std::pair<const char*, const char*> buttons[] = {
        {"Command9", "<"},         {"Command16", "CL"},
        {"Command10", ">"},        {"Command2", "塩分登録"},
        {"Command30", "削除"},     {"Command3", "塩分一覧"},
        {"Command13", "品名一覧"}, {"Command8", "入出力"},
        {"Command1", "終了"},      {"Command47", "チェック外す"}};
    for (auto [name, caption] : buttons) EXPECT_EQ(find<QPushButton>(name)->text(), caption) << name;
    for (int p = 0; p < 10; ++p)
        EXPECT_EQ(find<QPushButton>(qPrintable(ArrayName("CommandP", p)))->text(), QString("P%1").arg(p + 1));
    const std::pair<const char*, const char*> labels[] = {{"Label4", "塩分合計"},
                                                          {"Label5", "グラム"},
                                                          {"Label1", "塩分目標"},
                                                          {"Label2", "グラム"},
                                                          {"Label6", "PAGE"}};
    for (auto [name, caption] : labels) EXPECT_EQ(find<QLabel>(name)->text(), caption) << name;
    EXPECT_EQ(find<QPushButton>("Command2")->toolTip(), "今日の塩分を記録します");
    EXPECT_EQ(find<QPushButton>("Command3")->toolTip(), "登録された塩分一覧を表示します");
    EXPECT_EQ(find<QPushButton>("Command13")->toolTip(), "選択された品名と塩分を表示します");
    for (int r = 0; r < 16; ++r) EXPECT_NE(find<QWidget>(qPrintable(ArrayName("Pictureb", r))), nullptr);
    EXPECT_EQ(Background(find<QLabel>("Label3")), Background(form.get()));
    EXPECT_EQ(find<QLabel>("Label3")->palette().color(QPalette::WindowText), colour::Red);
    EXPECT_EQ(find<QLabel>("Label46")->text(), "");
    EXPECT_NE(find<QLineEdit>("Text1(0)"), nullptr);
    form->Command16()->click();  // the calendar is built when first opened
    EXPECT_NE(find<QWidget>("Calendar1"), nullptr);
}

}  // namespace
}  // namespace morv::test

namespace morv::test {
namespace {

TEST_F(MainWindowLife, AChangeFromElsewhereNeverPutsOffTheSaveOfOneMadeHere) {
    Form1& w = start();
    auto* timer = w.findChild<QTimer*>("AutosaveTimer");
    ASSERT_NE(timer, nullptr);
    Diary& d = w.diary();
    d.SetItemName(0, "here");
    ASSERT_TRUE(timer->isActive());
    const int left = timer->remainingTime();
    QTest::qWait(50);
    // Another machine's row comes in; this copy's row stays a change.
    DiaryBooks(d).ApplyItem(1, ItemRecord{"0", "there", "", ""});
    EXPECT_TRUE(DiaryBooks(d).HasChanges(DataFile::Kiroku));
    EXPECT_LT(timer->remainingTime(), left) << "the wait still counts from the change made here";
}

}  // namespace
}  // namespace morv::test
